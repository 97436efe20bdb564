// The "/json:" report of real runs: it validates against the shipped schema, says what the output
// inventory says, and carries a failed run's code and message.
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using nlohmann::json;

namespace {

// The schema keywords the shipped schema uses; a violation is named by its place in the report.
class SchemaCheck {
public:
    explicit SchemaCheck(json schema) : root_(std::move(schema)) {}

    std::vector<std::string> violations(const json& value) {
        found_.clear();
        check(root_, value, "$");
        return found_;
    }

private:
    const json& resolved(const json& schema) const {
        if (!schema.contains("$ref"))
            return schema;
        std::string ref = schema["$ref"];
        return root_.at(json::json_pointer(ref.substr(1)));
    }

    static bool hasType(const json& value, const std::string& type) {
        if (type == "integer")
            return value.is_number_integer();
        if (type == "string")
            return value.is_string();
        if (type == "boolean")
            return value.is_boolean();
        if (type == "null")
            return value.is_null();
        if (type == "array")
            return value.is_array();
        return type == "object" && value.is_object();
    }

    bool matches(const json& schema, const json& value) {
        std::vector<std::string> saved = std::move(found_);
        found_.clear();
        check(schema, value, "");
        bool ok = found_.empty();
        found_ = std::move(saved);
        return ok;
    }

    void check(const json& given, const json& value, const std::string& at) {
        const json& schema = resolved(given);
        if (schema.contains("type")) {
            json types = schema["type"].is_array() ? schema["type"] : json::array({schema["type"]});
            bool any = false;
            for (const json& type : types)
                any = any || hasType(value, type.get<std::string>());
            if (!any)
                return found_.push_back(at + ": not " + types.dump());
        }
        if (schema.contains("oneOf")) {
            int count = 0;
            for (const json& option : schema["oneOf"])
                count += matches(option, value) ? 1 : 0;
            if (count != 1)
                found_.push_back(at + ": matches " + std::to_string(count) + " of oneOf");
        }
        if (schema.contains("minimum") && value.is_number() && value < schema["minimum"])
            found_.push_back(at + ": below minimum");
        if (value.is_object()) {
            for (const json& name : schema.value("required", json::array()))
                if (!value.contains(name.get<std::string>()))
                    found_.push_back(at + ": missing " + name.get<std::string>());
            const json properties = schema.value("properties", json::object());
            for (const auto& [name, member] : value.items()) {
                if (properties.contains(name))
                    check(properties[name], member, at + "." + name);
                else if (schema.value("additionalProperties", true) == false)
                    found_.push_back(at + ": unexpected " + name);
            }
        }
        if (value.is_array() && schema.contains("items")) {
            for (size_t i = 0; i < value.size(); ++i)
                check(schema["items"], value[i], at + "[" + std::to_string(i) + "]");
        }
    }

    json root_;
    std::vector<std::string> found_;
};

SchemaCheck& shippedSchema() {
    static SchemaCheck check(json::parse(ReadWholeFile(KIT_SOURCE_DIR "/docs/arrayplan-report.schema.json")));
    return check;
}

// "key = value" lines of an INI file by section, values trimmed.
using IniSections = std::map<std::string, std::map<std::string, std::string>>;

IniSections readIni(const std::string& text) {
    IniSections sections;
    std::string section;
    std::istringstream lines(text);
    auto trim = [](std::string s) {
        s.erase(0, s.find_first_not_of(" \t\r"));
        s.erase(s.find_last_not_of(" \t\r") + 1);
        return s;
    };
    for (std::string line; std::getline(lines, line);) {
        line = trim(line);
        if (!line.empty() && line.front() == '[')
            section = line.substr(1, line.find(']') - 1);
        else if (size_t eq = line.find('='); eq != std::string::npos)
            sections[section][trim(line.substr(0, eq))] = trim(line.substr(eq + 1));
    }
    return sections;
}

std::vector<int> numberList(const std::string& text) {
    std::vector<int> numbers;
    std::istringstream items(text);
    for (std::string item; std::getline(items, item, ',');)
        numbers.push_back(std::stoi(item));
    return numbers;
}

class JsonReportRun : public testing::Test {
protected:
    std::string path(const std::string& name) const { return ProgramPath(dir_ / name); }

    ProgramResult run(const std::string& inventory, const std::string& policies) {
        std::string raid = ProgramPath(dir_.CopyIn(KIT_SOURCE_DIR "/data/raid", "raid"));
        return RunProgram(BuiltProgram("arrayplan"),
                          {"/ini:" + path(inventory), "/inp:" + path(policies), "/outi:" + path("out.ini"),
                           "/outp:" + path("out-policies.ini"), "/raid:" + raid, "/json:" + path("r.json")});
    }
    json report() const {
        json parsed = json::parse(dir_.Read("r.json"));
        EXPECT_EQ(shippedSchema().violations(parsed), std::vector<std::string>{});
        return parsed;
    }

    TempDir dir_;
};

// Every array, hot spare and logical drive of the report, and its wasted space, against the output
// inventory's sections.
void expectReportMatchesInventory(const json& report, const IniSections& ini) {
    ASSERT_EQ(report["controllers"].size(), std::stoul(ini.at("System").at("Total_Number_Of_Controllers")));
    for (const json& controller : report["controllers"]) {
        std::string c = "RAIDController." + std::to_string(controller["number"].get<int>());
        SCOPED_TRACE(c);
        EXPECT_EQ(controller["model"], ini.at(c).at("Model"));
        const auto& arrays = ini.at(c + ".Array");
        ASSERT_EQ(controller["arrays"].size(), std::stoul(arrays.at("Total_Number_Of_Arrays")));
        std::map<int, int> sizes; // by drive number
        const auto& physicals = ini.at(c + ".Physical");
        for (int p = 1; physicals.count("Size." + std::to_string(p)); ++p)
            sizes[p] = std::stoi(physicals.at("Size." + std::to_string(p)));
        std::set<int> used;
        long long wasted = 0;
        for (size_t a = 1; a <= controller["arrays"].size(); ++a) {
            const json& array = controller["arrays"][a - 1];
            std::vector<int> members = numberList(arrays.at("Members." + std::to_string(a)));
            EXPECT_EQ(array["id"], arrays.at("ID." + std::to_string(a)));
            EXPECT_EQ(array["members"].get<std::vector<int>>(), members);
            int smallest = sizes.at(members.front());
            for (int m : members)
                smallest = std::min(smallest, sizes.at(m));
            EXPECT_EQ(array["member_size_mb"], smallest);
            for (int m : members) {
                used.insert(m);
                wasted += sizes.at(m) - smallest;
            }
        }
        const auto& spares = ini.at(c + ".Hotspares");
        std::vector<int> spareNumbers;
        for (int h = 1; spares.count("Physical." + std::to_string(h)); ++h)
            spareNumbers.push_back(std::stoi(spares.at("Physical." + std::to_string(h))));
        EXPECT_EQ(controller["hot_spares"].get<std::vector<int>>(), spareNumbers);
        used.insert(spareNumbers.begin(), spareNumbers.end());
        std::vector<int> unused;
        for (const auto& [number, size] : sizes) {
            if (!used.count(number)) {
                unused.push_back(number);
                wasted += size;
            }
        }
        EXPECT_EQ(controller["unused_drives"].get<std::vector<int>>(), unused);
        EXPECT_EQ(controller["wasted_mb"], wasted);
        // The inventory lists logical drives in file order, each naming its array.
        const auto& logicals = ini.at(c + ".Logical");
        std::map<std::string, std::vector<std::pair<std::string, std::string>>> byArray;
        for (int l = 1; logicals.count("Array." + std::to_string(l)); ++l) {
            std::string n = std::to_string(l);
            byArray[logicals.at("Array." + n)].push_back(
                {logicals.at("Size." + n), logicals.at("Raid_Level." + n)});
        }
        for (const json& array : controller["arrays"]) {
            std::vector<std::pair<std::string, std::string>> listed;
            for (const json& logical : array["logical_drives"])
                listed.push_back(
                    {std::to_string(logical["size_mb"].get<long long>()), logical["raid_level"]});
            EXPECT_EQ(listed, byArray[array["id"]]) << "array " << array["id"];
        }
    }
}

TEST_F(JsonReportRun, ExamplesReportWhatTheOutputInventoryHolds) {
    const std::pair<const char*, const char*> kExamples[] = {{"inventory.ini", "policies.ini"},
                                                             {"rack-inventory.ini", "rack-policies.ini"}};
    for (const auto& [inventory, policies] : kExamples) {
        SCOPED_TRACE(inventory);
        dir_.Write(inventory, ReadWholeFile(std::string(KIT_SOURCE_DIR "/examples/arrayplan/") + inventory));
        dir_.Write(policies, ReadWholeFile(std::string(KIT_SOURCE_DIR "/examples/arrayplan/") + policies));
        ProgramResult result = run(inventory, policies);
        ASSERT_EQ(result.status, 0) << result.out;
        json parsed = report();
        EXPECT_EQ(parsed["result"], json({{"code", 0}, {"message", "Validation Completed"}}));
        IniSections ini = readIni(ReadProgramText(dir_ / "out.ini"));
        EXPECT_EQ(parsed["machine_type"], ini["System"]["Machine_Type"]);
        // A controller that no policy applies to is left as it is, without a failure of its own.
        int planned = 0;
        for (const json& controller : parsed["controllers"]) {
            planned += controller["planned"] ? 1 : 0;
            EXPECT_EQ(controller["planned"], controller["policy"].is_string());
            EXPECT_TRUE(controller["failure"].is_null());
        }
        EXPECT_GT(planned, 0);
        expectReportMatchesInventory(parsed, ini);
    }
}

const std::string kThreeDrives = "[System]\nMachine_Type = 8837\nSerial_Number = S1\n"
                                 "Total_Number_Of_Controllers = 1\n[RAIDController.1]\nModel = Vaultix-Q4\n"
                                 "[RAIDController.1.Physical]\nTotal_Number_Of_Physicals = 3\n"
                                 "Channel.1 = 1\nID.1 = 0\nSize.1 = 70000\n"
                                 "Channel.2 = 1\nID.2 = 1\nSize.2 = 70000\n"
                                 "Channel.3 = 1\nID.3 = 2\nSize.3 = 80000\n";

TEST_F(JsonReportRun, WastedSpaceCountsUnusedDrivesAndWhatMembersLoseAboveTheSmallest) {
    dir_.Write("inventory.ini", kThreeDrives);
    dir_.Write("policies.ini", "[Policy.Mirror]\nAppliesTo.1 = ALL\nArray_Mode = CUSTOM\nArray.A = 1:0, 1:2\n"
                               "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n");
    ProgramResult result = run("inventory.ini", "policies.ini");
    ASSERT_EQ(result.status, 0) << result.out;
    json controller = report()["controllers"][0];
    EXPECT_EQ(controller["policy"], "Policy.Mirror");
    EXPECT_EQ(controller["arrays"][0]["members"], json({1, 3}));
    EXPECT_EQ(controller["arrays"][0]["member_size_mb"], 70000);
    EXPECT_EQ(controller["arrays"][0]["usable_mb"], 70000);
    EXPECT_EQ(controller["unused_drives"], json({2}));
    EXPECT_EQ(controller["wasted_mb"], 70000 + 10000);
    expectReportMatchesInventory(report(), readIni(ReadProgramText(dir_ / "out.ini")));
}

// A failed run still writes its report: the run's code and message, and each controller left unplanned
// by a failed planning says why.
TEST_F(JsonReportRun, FailedRunsReportTheirCodeAndMessage) {
    struct Case {
        const char* name;
        std::string inventory;
        std::string policies;
        int code;
        std::string message;
        bool controllerFailure;
    };
    const Case kCases[] = {
        {"too few drives of one size", kThreeDrives,
         "[Policy.Wide]\nAppliesTo.1 = ALL\nArray.A = #4\nLogical.1 = A:FILL:5\n", 10,
         "Not enough same size drives to accommodate requested configuration", true},
        {"no policy applies", kThreeDrives,
         "[Policy.Other]\nAppliesTo.1 = t:Vaultix-S4\nArray_Mode = CUSTOM\nArray.A = 1:0, 1:1\n"
         "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n",
         19, "No Policy found that applies to input inventory", true},
        {"unreadable inventory", "", "[Policy.X]\n", 12, "", false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        std::string inventory = c.inventory.empty() ? "absent.ini" : "inventory.ini";
        if (!c.inventory.empty())
            dir_.Write("inventory.ini", c.inventory);
        dir_.Write("policies.ini", c.policies);
        ProgramResult result = run(inventory, "policies.ini");
        ASSERT_EQ(result.status, c.code) << result.out;
        json parsed = report();
        EXPECT_EQ(parsed["result"]["code"], c.code);
        std::string message = parsed["result"]["message"];
        EXPECT_FALSE(message.empty());
        if (!c.message.empty())
            EXPECT_EQ(message, c.message);
        EXPECT_NE(result.out.find(message + "\n"), std::string::npos) << result.out;
        EXPECT_EQ(parsed["controllers"].size(), c.inventory.empty() ? 0u : 1u);
        for (const json& controller : parsed["controllers"]) {
            EXPECT_FALSE(controller["planned"]);
            EXPECT_EQ(controller["unused_drives"], json({1, 2, 3}));
            EXPECT_EQ(controller["wasted_mb"], 220000);
            if (c.controllerFailure)
                EXPECT_EQ(controller["failure"], parsed["result"]);
        }
    }
}

TEST_F(JsonReportRun, AReportThatCannotBeWrittenFailsTheRunAndNamesTheFile) {
    dir_.Write("inventory.ini", kThreeDrives);
    dir_.Write("policies.ini", "[Policy.Mirror]\nAppliesTo.1 = ALL\nArray_Mode = CUSTOM\nArray.A = 1:0, 1:1\n"
                               "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n");
    std::string raid = ProgramPath(dir_.CopyIn(KIT_SOURCE_DIR "/data/raid", "raid"));
    std::string report = path("missing-folder") + ProgramSeparator() + "r.json";
    ProgramResult result = RunProgram(BuiltProgram("arrayplan"),
                                      {"/ini:" + path("inventory.ini"), "/inp:" + path("policies.ini"),
                                       "/outi:" + path("out.ini"), "/outp:" + path("out-policies.ini"),
                                       "/raid:" + raid, "/json:" + report});
    EXPECT_EQ(result.status, 255) << result.out;
    EXPECT_EQ(result.out.find("Validation Completed"), std::string::npos);
    EXPECT_NE(result.out.find(report + ": "), std::string::npos) << result.out;
}

// A report over an input or an output would destroy it: the run refuses it before writing anything, and a
// run that fails earlier leaves that file alone too.
TEST_F(JsonReportRun, AReportNeverReplacesAnotherFileOfTheRun) {
    const std::string kPolicy =
        "[Policy.Mirror]\nAppliesTo.1 = ALL\nArray_Mode = CUSTOM\nArray.A = 1:0, 1:1\n"
        "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n";
    struct Case {
        const char* reportOver;
        const char* inventory; // the /ini: given
        int status;
        std::string refusal; // printed before the run's message; empty when the run fails earlier
    };
    const Case kCases[] = {
        {"policies.ini", "inventory.ini", 255,
         "/json:" + ProgramPath("policies.ini") + " is the file of /inp:"},
        {"out.ini", "inventory.ini", 255, "/json:" + ProgramPath("out.ini") + " is the file of /outi:"},
        {"policies.ini", "absent.ini", 12, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.reportOver);
        TempDir dir;
        dir.Write("inventory.ini", kThreeDrives);
        dir.Write("policies.ini", kPolicy);
        dir.Write("out.ini", "kept\n");
        std::string raid = ProgramPath(dir.CopyIn(KIT_SOURCE_DIR "/data/raid", "raid"));
        ProgramResult result =
            RunProgram(BuiltProgram("arrayplan"),
                       {"/ini:" + std::string(c.inventory), "/inp:policies.ini", "/outi:out.ini",
                        "/outp:out-policies.ini", "/raid:" + raid, "/json:" + std::string(c.reportOver)},
                       dir.Path().string());
        EXPECT_EQ(result.status, c.status) << result.out;
        if (!c.refusal.empty())
            EXPECT_NE(result.out.find(c.refusal), std::string::npos) << result.out;
        EXPECT_EQ(dir.Read("policies.ini"), kPolicy);
        EXPECT_EQ(dir.Read("out.ini"), "kept\n");
    }
}

TEST(JsonReportSchema, RejectsReportsThatBreakIt) {
    json good = {{"result", {{"code", 0}, {"message", "Validation Completed"}}},
                 {"machine_type", "8837"},
                 {"serial_number", ""},
                 {"controllers", json::array()}};
    EXPECT_TRUE(shippedSchema().violations(good).empty());
    const std::pair<const char*, json> kBroken[] = {
        {"/result/code", "0"}, {"/machine_type", nullptr}, {"/controllers", json::object()}};
    for (const auto& [pointer, value] : kBroken) {
        json broken = good;
        broken[json::json_pointer(pointer)] = value;
        EXPECT_FALSE(shippedSchema().violations(broken).empty()) << pointer;
    }
    json missing = good;
    missing.erase("result");
    EXPECT_FALSE(shippedSchema().violations(missing).empty());
}

} // namespace
