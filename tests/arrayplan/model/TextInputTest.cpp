// The support file and inventory readers give for text what they give for a file holding it.
#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/InventoryFile.h"
#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/RunSettings.h"
#include "foundation/Console.h"
#include "foundation/IniFile.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string withCrLf(const std::string& text) {
    std::string converted;
    for (char c : text)
        converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return converted;
}

struct Variant {
    const char* label;
    std::string content;
    bool loads;
};

// The same document in the forms that the bounded reading treats apart; emptyLoads tells whether the
// reader takes an empty file.
std::vector<Variant> variantsOf(const std::string& document, bool emptyLoads) {
    const std::string tooLong(IniFile::kMaxLineLength + 1, 'x');
    std::string unterminated = document.substr(0, document.size() - 1);
    return {
        {"plain", document, true},
        {"byte order mark", "\xEF\xBB\xBF" + document, true},
        {"CR LF", withCrLf(document), true},
        {"no final newline", unterminated, true},
        {"too long a line", document + tooLong + "\n", false},
        {"empty", "", emptyLoads},
    };
}

std::string supportSummary(const ControllerIni& ini, bool loaded, const std::string& out) {
    std::string summary = std::string(loaded ? "loaded" : "failed") + "|" + ini.failureLine() + "|" +
                          ini.model() + "|" + std::to_string(ini.maxArrays()) + "|" + out + "|";
    for (int code : ini.stripeSizes())
        summary += std::to_string(code) + ",";
    for (const LevelLimits& level : ini.levels())
        summary += std::to_string(level.level) + ":" + std::to_string(level.minPhysicalDrives) + ",";
    return summary;
}

TEST(TextInput, ASupportFileReadsAsTextAsFromTheFile) {
    const std::string document = "[RAIDController]\nModel = Vaultix-Q4\nStripeSizes = 8K,64K\nMaxArrays = 4\n"
                                 "RAIDLevels = 0,5\n[5]\nMinPhysicalDrives = 3\n";
    for (const Variant& v : variantsOf(document, true)) {
        SCOPED_TRACE(v.label);
        TempDir dir;
        dir.Write("Vaultix-Q4.ini", v.content);
        CString directory((dir.Path().string() + "/").c_str());
        ConsoleCapture capture;
        ControllerIni fromFile(directory, "Vaultix-Q4", Console::Instance(), CurrentFileSystem());
        bool fileLoaded = fromFile.load();
        std::string fileSummary = supportSummary(fromFile, fileLoaded, capture.Out());
        capture.Clear();
        ControllerIni fromText(directory, "Vaultix-Q4", Console::Instance(), CurrentFileSystem());
        bool textLoaded = fromText.loadText({v.content});
        EXPECT_EQ(supportSummary(fromText, textLoaded, capture.Out()), fileSummary);
        EXPECT_EQ(textLoaded, v.loads);
    }
}

// The code, the system facts, what the reading printed and the debug dump of every controller read.
std::string inventorySummary(ResultCode code, const RunSettings& settings, const ControllerList& list,
                             ConsoleCapture& capture) {
    std::string summary = std::to_string(codeNumber(code)) + "|" + settings.machineType.Str() + "|" +
                          settings.serialNumber.Str() + "|" + capture.Out() + "|";
    capture.Clear();
    for (int i = 0; i < list.count(); ++i)
        list.at(i)->dump(Console::Instance(), true);
    return summary + capture.Out();
}

TEST(TextInput, AnInventoryReadsAsTextAsFromTheFile) {
    const std::string document = "[System]\nMachine_Type = 8837\nSerial_Number = KQ4711X\n"
                                 "Total_Number_Of_Controllers = 1\n[RAIDController.1]\nModel = vaultix-q4\n"
                                 "[RAIDController.1.Physical]\nTotal_Number_Of_Physicals = 2\n"
                                 "Channel.1 = 0\nID.1 = 1\nSize.1 = 70007\nChannel.2 = 0\nID.2 = 2\n"
                                 "Size.2 = 70007\n";
    for (const Variant& v : variantsOf(document, false)) {
        SCOPED_TRACE(v.label);
        TempDir dir;
        std::string path = dir.Write("inventory.ini", v.content);
        std::string fileSummary;
        std::string textSummary;
        {
            ConsoleCapture capture;
            RunSettings settings;
            ControllerList list;
            ResultCode code = loadInventory(settings, path.c_str(), list);
            fileSummary = inventorySummary(code, settings, list, capture);
        }
        {
            ConsoleCapture capture;
            RunSettings settings;
            ControllerList list;
            ResultCode code = loadInventoryText(settings, path.c_str(), {v.content}, list);
            textSummary = inventorySummary(code, settings, list, capture);
            EXPECT_EQ(code == ResultCode::Success, v.loads);
        }
        EXPECT_EQ(textSummary, fileSummary);
    }
}

} // namespace
