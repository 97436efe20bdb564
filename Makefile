# The two set-up commands of the README: `make demo` and `make test`.
.PHONY: deps build windows test test-asan demo bench fuzz gui package clean

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

# arrayplan.exe and drvstage.exe in build-windows/bin, when the MinGW-w64 cross compiler is installed.
windows: deps
	@if command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1; then \
		cmake --preset windows >/dev/null && cmake --build --preset windows; \
	else \
		echo "windows: skipped, the MinGW-w64 cross compiler (g++-mingw-w64-x86-64-posix) is not installed"; \
	fi

# Runs the end-to-end tests a second time on the Windows build under Wine when both are installed.
test: build windows
	@ctest --preset default

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer; the Windows programs' runs under Wine
# test an uninstrumented build, so they are left to `make test`.
test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan -LE wine

demo: build
	@scripts/demo

bench: deps
	@scripts/bench

fuzz: deps
	@scripts/fuzz

gui: build
	@scripts/gui

# The Debian package in build/package/, and beside it the zip of the Windows programs when `make windows` built them.
package: build windows
	@cmake --build --preset default --target package windows_zip

clean:
	rm -rf build build-asan build-bench build-fuzz build-windows scratch "$${KIT_BENCH_SCRATCH:-$${TMPDIR:-/tmp}/kit-bench}"
