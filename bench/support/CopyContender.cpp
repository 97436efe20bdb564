#include "CopyContender.h"

#include "Workspace.h"

#include <unistd.h>

namespace fs = std::filesystem;

Contender CopyContender(const std::string& name, CopyCommand command, DestinationOfRound destination,
                        uint64_t files) {
    return {name,
            [=](int round) {
                const fs::path folder = destination(round);
                // cp -r needs the destination's parent; the others make it themselves.
                std::error_code ignored;
                fs::create_directories(folder.parent_path(), ignored);
                const std::vector<std::string> argv = command(folder);
                sync();
                return RunMeasured(argv);
            },
            [=](int round) { return MeasureTree(destination(round)).files == files; }};
}

CopyCommand CpCommand(const fs::path& source, std::vector<std::string> options) {
    return [=](const fs::path& destination) {
        std::vector<std::string> argv = {"cp", "-r"};
        argv.insert(argv.end(), options.begin(), options.end());
        argv.insert(argv.end(), {source.string(), destination.string()});
        return argv;
    };
}
