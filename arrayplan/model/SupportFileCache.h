// Support files read and parsed once for many runs of one process (a fleet check): each file is loaded the
// first time a run asks for it, and every later run is handed that load, success or failure alike.
#pragma once

#include "arrayplan/model/ControllerIni.h"
#include "foundation/Console.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

class FileSystem;
class RunSettings;

class SupportFileCache {
public:
    // The files are read through fileSystem, which outlives the cache.
    explicit SupportFileCache(FileSystem& fileSystem);
    SupportFileCache(const SupportFileCache&) = delete;
    SupportFileCache& operator=(const SupportFileCache&) = delete;

    // Gives ini (made for a run, on the run's console) the load of the file it names; true when that load
    // succeeded. Several runs may ask at once.
    bool load(ControllerIni& ini);

private:
    struct Entry {
        std::unique_ptr<ControllerIni> parsed;
        bool loaded = false;
    };

    FileSystem& fileSystem_;
    std::mutex mutex_;
    std::string discarded_; // what the loads print: each run's own failure decides what it reports
    Console console_;
    std::map<std::string, Entry> entries_;
};

// The support file of ini for a run: from the run's cache when it has one, else read from the file.
bool loadSupportFile(const RunSettings& settings, ControllerIni& ini);
