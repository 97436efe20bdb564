#include "arrayplan/model/SupportFileCache.h"

#include "arrayplan/model/RunSettings.h"

SupportFileCache::SupportFileCache(FileSystem& fileSystem) : fileSystem_(fileSystem) {
    console_.Capture(&discarded_, &discarded_);
}

bool SupportFileCache::load(ControllerIni& ini) {
    std::lock_guard<std::mutex> guard(mutex_);
    Entry& entry = entries_[ini.fileName().Str()];
    if (!entry.parsed) {
        entry.parsed = std::make_unique<ControllerIni>(CString(), "", console_, fileSystem_);
        entry.parsed->adoptLoad(ini);
        entry.loaded = entry.parsed->load();
        discarded_.clear();
    }
    ini.adoptLoad(*entry.parsed);
    return entry.loaded;
}

bool loadSupportFile(const RunSettings& settings, ControllerIni& ini) {
    return settings.supportFiles != nullptr ? settings.supportFiles->load(ini) : ini.load();
}
