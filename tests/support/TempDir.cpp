#include "support/TempDir.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    for (;;) {
        std::ostringstream name;
        name << "kittest-" << random() << "-" << counter++;
        path_ = fs::temp_directory_path() / name.str();
        if (fs::create_directory(path_))
            break;
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave read-only entries behind; make them writable so the folder can go.
    for (auto it = fs::recursive_directory_iterator(path_, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        if (!it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& relative, const std::string& content) const {
    fs::path target = path_ / relative;
    fs::create_directories(target.parent_path());
    WriteWholeFile(target.string(), content);
    return target.string();
}

std::string TempDir::CopyIn(const std::string& sourceFolder, const std::string& relative) const {
    fs::path target = path_ / relative;
    fs::create_directories(target);
    fs::copy(sourceFolder, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    return target.string();
}

std::string TempDir::Read(const std::string& relative) const {
    return ReadWholeFile((path_ / relative).string());
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteWholeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}
