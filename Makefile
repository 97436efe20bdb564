# The two set-up commands of the README: `make demo` and `make test`.
.PHONY: deps build test test-asan demo bench fuzz gui clean

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default

test: build
	@ctest --preset default

test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

demo: build
	@scripts/demo

bench: deps
	@scripts/bench

fuzz: deps
	@scripts/fuzz

gui: build
	@scripts/gui

clean:
	rm -rf build build-asan build-bench build-fuzz build-windows scratch
