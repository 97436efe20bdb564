#include "foundation/IniFile.h"

#include "support/MemoryFileSystem.h"

#include <gtest/gtest.h>

#include <random>
#include <strings.h>

namespace {

using Lines = std::vector<std::string>;
using Call = MemoryFileSystem::Call;

Lines LinesOf(const IniFile& ini) {
    Lines lines;
    for (const CString& line : ini.Lines())
        lines.push_back(line.Str());
    return lines;
}

class IniFileTest : public testing::Test {
protected:
    MemoryFileSystem disk;
    ScopedFileSystem installed{disk};

    // A document read from a file holding the given lines.
    std::unique_ptr<IniFile> Document(const Lines& lines, bool spacing = true) {
        std::string content;
        for (const std::string& line : lines)
            content += line + "\n";
        disk.AddFile("/doc.ini", content);
        return std::make_unique<IniFile>(CurrentFileSystem(), "/doc.ini", spacing);
    }
};

TEST_F(IniFileTest, OnlyTheFirstSectionOfANameIsSearched) {
    auto ini = Document({"[A]", "x=1", "[A]", "y=2"});
    EXPECT_STREQ(ini->GetValue("A", "y", "none").Text(), "none");
    EXPECT_STREQ(ini->GetValue("a", "X", "none").Text(), "1");
    EXPECT_TRUE(ini->SetValue("A", "y", "3", false, false));
    EXPECT_EQ(LinesOf(*ini), (Lines{"[A]", "x=1", "y = 3", "", "[A]", "y=2"}));
}

TEST_F(IniFileTest, NamesIgnoreCaseAndValuesAreTrimmedButKeepTheirCase) {
    auto ini = Document({"  [ Controller 1 ]", "Model =\t Vaultix R1  ", ";Size=3", "Size = abc", "[Next]"});
    EXPECT_STREQ(ini->GetValue("controller 1", "model", "").Text(), "Vaultix R1");
    EXPECT_EQ(ini->GetInt("Controller 1", "Size", 7), 0);
    EXPECT_EQ(ini->GetInt("Controller 1", "Missing", -25), -25);
    EXPECT_STREQ(ini->GetValue("Controller 1", ";Size", "comment").Text(), "comment");
    EXPECT_STREQ(ini->GetValue("Next", "Model", "d").Text(), "d");
    EXPECT_STREQ(ini->GetValue("", "Model", "top").Text(), "top");
}

TEST_F(IniFileTest, RewritesAnEntryInPlaceWithTheKeyAsGiven) {
    auto ini = Document({"[A]", "Model=x", "[B]"}, false);
    EXPECT_TRUE(ini->SetValue("a", "MODEL", "y", false, false));
    EXPECT_EQ(LinesOf(*ini), (Lines{"[A]", "MODEL=y", "[B]"}));
    EXPECT_TRUE(ini->IsDirty());
}

TEST_F(IniFileTest, InsertsAboveTheCommentsAndBlankLinesOfTheNextHeader) {
    auto commented = Document({"[A]", "a=1", ";c1", "", ";about B", "# more", "//too", "[B]"});
    commented->SetValue("A", "k", "v", false, false);
    EXPECT_EQ(LinesOf(*commented),
              (Lines{"[A]", "a=1", ";c1", "k = v", "", ";about B", "# more", "//too", "[B]"}));

    auto bare = Document({"[A]", "a=1", "/x", "[B]"}); // a single slash is no comment
    bare->SetValue("A", "k", "v", false, false);
    EXPECT_EQ(LinesOf(*bare), (Lines{"[A]", "a=1", "/x", "k = v", "", "[B]"}));
}

TEST_F(IniFileTest, InsertsAtTheEndOfTheLastSection) {
    auto plain = Document({"[A]", "a=1"});
    plain->SetValue("A", "k", "v", false, false);
    EXPECT_EQ(LinesOf(*plain), (Lines{"[A]", "a=1", "k = v"}));

    auto trailing = Document({"[A]", "a=1", ";end", "", ""});
    trailing->SetValue("A", "k", "v", false, false);
    EXPECT_EQ(LinesOf(*trailing), (Lines{"[A]", "a=1", ";end", "k = v", "", ""}));
}

TEST_F(IniFileTest, AddsAMissingSectionAfterABlankLineUnlessAtTheTop) {
    auto ini = Document({"[A]", "a=1"});
    ini->SetValue("B", "k", "v", false, false);
    EXPECT_EQ(LinesOf(*ini), (Lines{"[A]", "a=1", "", "[B]", "k = v"}));
    EXPECT_STREQ(ini->GetValue("b", "K", "").Text(), "v");

    IniFile empty(CurrentFileSystem(), "/none.ini", true);
    empty.SetValue("Main", "Drivers", "x", false, false);
    EXPECT_EQ(LinesOf(empty), (Lines{"[Main]", "Drivers = x"}));
    EXPECT_FALSE(disk.IsFile("/none.ini")); // created only by a save
    EXPECT_TRUE(empty.Flush());
    EXPECT_EQ(disk.Content("/none.ini"), "[Main]\nDrivers = x\n");
}

TEST_F(IniFileTest, KeylessLinesGoToTheTopAndAreAddedOnceUnlessAlways) {
    auto ini = Document({"[Driver Information]", "Path=x"});
    EXPECT_TRUE(ini->SetValue("", "", ";//", false, false));
    EXPECT_TRUE(ini->Save(CurrentFileSystem(), "/doc.ini"));
    EXPECT_FALSE(ini->SetValue("", "", ";//", false, false));
    EXPECT_FALSE(ini->IsDirty());
    EXPECT_TRUE(ini->SetValue("", "", ";//", true, false));
    EXPECT_EQ(LinesOf(*ini), (Lines{";//", ";//", "", "[Driver Information]", "Path=x"}));
}

TEST_F(IniFileTest, SaveKeepsBlankLinesAndDropsIndentation) {
    disk.AddFile("/doc.ini", "  [A]  \n\tx = 1 \n\n   \n;c\r\n");
    IniFile ini(CurrentFileSystem(), "/doc.ini", true);
    EXPECT_TRUE(ini.Save(CurrentFileSystem(), "/doc.ini"));
    EXPECT_EQ(disk.Content("/doc.ini"), "[A]\nx = 1\n\n\n;c\n");
    EXPECT_TRUE(ini.FileExists());
}

TEST_F(IniFileTest, SaveNowAndTheDestructorWriteTheFile) {
    {
        auto ini = Document({"[A]"});
        EXPECT_TRUE(ini->SetValue("A", "now", "1", false, true));
        EXPECT_FALSE(ini->IsDirty());
        EXPECT_EQ(disk.Content("/doc.ini"), "[A]\nnow = 1\n");
        ini->SetValue("A", "later", "2", false, false);
    }
    EXPECT_EQ(disk.Content("/doc.ini"), "[A]\nnow = 1\nlater = 2\n");
}

TEST_F(IniFileTest, AFailedSaveLeavesTheOriginalAndNoTemporaryFile) {
    auto ini = Document({"[A]", "x=1"});
    ini->SetValue("A", "x", "2", false, false);
    disk.FailCall(Call::Write, 1);
    EXPECT_FALSE(ini->Save(CurrentFileSystem(), "/doc.ini"));
    disk.FailCall(Call::RenameFile, 1);
    EXPECT_FALSE(ini->Flush());
    EXPECT_TRUE(ini->IsDirty());
    EXPECT_EQ(disk.Content("/doc.ini"), "[A]\nx=1\n");
    EXPECT_EQ(disk.AllPaths(), (Lines{"/", "/doc.ini"}));

    EXPECT_TRUE(ini->Flush());
    EXPECT_EQ(disk.Content("/doc.ini"), "[A]\nx = 2\n");
    EXPECT_EQ(disk.AllPaths(), (Lines{"/", "/doc.ini"}));
    ASSERT_EQ(disk.renamed.size(), 1u);
    EXPECT_EQ(disk.renamed[0].rfind("/doc.ini.", 0), 0u); // written beside the target
}

TEST_F(IniFileTest, AByteOrderMarkHidesNoSectionAndIsKeptWhenSaved) {
    const std::string bom = "\xEF\xBB\xBF";
    struct Case {
        std::string content;
        std::string saved;
    };
    const Case cases[] = {
        {bom + "[Driver Information]\nSupported Systems = 8837\n",
         bom + "[Driver Information]\nSupported Systems = 7100\n"},
        {"[Driver Information]\nSupported Systems = 8837\n",
         "[Driver Information]\nSupported Systems = 7100\n"},
        {bom, bom + "[Driver Information]\nSupported Systems = 7100\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        disk.AddFile("/drv.ini", c.content);
        {
            IniFile ini(CurrentFileSystem(), "/drv.ini", true);
            EXPECT_EQ(ini.Lines().size(), c.content.size() > bom.size() ? 2u : 0u);
            EXPECT_EQ(ini.GetValue("Driver Information", "Supported Systems", "").Str(),
                      c.content.size() > bom.size() ? "8837" : "");
            ini.SetValue("Driver Information", "Supported Systems", "7100", false, false);
        }
        EXPECT_EQ(disk.Content("/drv.ini"), c.saved);
    }
}

// Whatever a file holds, loading it takes bounded memory: beyond the bounds it is unreadable and kept.
TEST_F(IniFileTest, AFileBeyondTheReadingBoundsIsUnreadableAndNeverSavedOver) {
    const std::string longest(IniFile::kMaxLineLength, 'x');
    struct Case {
        std::string content;
        bool unreadable;
    };
    const Case cases[] = {
        {"[A]\n" + longest + "\n", false},
        {"[A]\n" + longest + "x\n", true},
        {longest + "x", true},
        {std::string(IniFile::kMaxLines, '\n'), false},
        {std::string(IniFile::kMaxLines + 1, '\n'), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content.size());
        disk.AddFile("/big.ini", c.content);
        IniFile ini(CurrentFileSystem(), "/big.ini", true);
        EXPECT_EQ(ini.IsUnreadable(), c.unreadable);
        ini.SetValue("A", "k", "v", false, false);
        EXPECT_EQ(ini.Flush(), !c.unreadable);
        if (c.unreadable) {
            EXPECT_EQ(disk.Content("/big.ini"), c.content);
        }
    }
}

TEST_F(IniFileTest, AFailedSaveTellsTheSystemsReason) {
    auto ini = Document({"[A]", "x=1"});
    ini->SetValue("A", "x", "2", false, false);
    disk.FailCall(Call::Close, 1);
    EXPECT_FALSE(ini->Flush());
    EXPECT_EQ(ini->SaveFailureReason(), "No space left on device");
    EXPECT_TRUE(ini->Flush());
    EXPECT_EQ(ini->SaveFailureReason(), "");
}

// The specified line walks, written plainly, to check the indexed document against.
namespace reference {

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\n");
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t\n") - first + 1);
}

bool Same(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}
bool IsHeader(const std::string& line) {
    return !line.empty() && line[0] == '[';
}
std::string Name(const std::string& line) {
    return Trim(line.substr(1, line.find(']') - 1));
}

bool KeyOf(const std::string& line, std::string& key) {
    size_t equals = line.find('=');
    key = Trim(line.substr(0, equals));
    return equals != std::string::npos;
}

std::string Get(const Lines& lines, const std::string& section, const std::string& key) {
    bool inside = section.empty();
    std::string lineKey;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] == ';')
            continue;
        if (!inside) {
            inside = IsHeader(line) && Same(Name(line), section);
            continue;
        }
        if (IsHeader(line))
            break;
        if (KeyOf(line, lineKey) && Same(lineKey, key))
            return Trim(line.substr(line.find('=') + 1));
    }
    return "<default>";
}

size_t WalkBack(const Lines& lines, size_t point) {
    auto comment = [](const std::string& l) {
        return l.rfind(";", 0) == 0 || l.rfind("#", 0) == 0 || l.rfind("//", 0) == 0;
    };
    while (point > 0 && comment(lines[point - 1]))
        --point;
    while (point > 0 && lines[point - 1].empty())
        --point;
    return point;
}

bool Set(Lines& lines, const std::string& section, const std::string& key, const std::string& value,
         bool always, bool spacing) {
    std::string text = Trim(key.empty() ? value : key + (spacing ? " = " : "=") + value);
    bool inside = section.empty();
    std::string lineKey;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty())
            continue;
        if (!inside) {
            inside = IsHeader(line) && Same(Name(line), section);
            continue;
        }
        if (IsHeader(line)) {
            size_t point = WalkBack(lines, i);
            lines.insert(lines.begin() + point, text);
            if (point == i)
                lines.insert(lines.begin() + point + 1, "");
            return true;
        }
        if (!key.empty() && KeyOf(line, lineKey) && Same(lineKey, key)) {
            lines[i] = text;
            return true;
        }
        if (key.empty() && !always && line == value)
            return false;
    }
    size_t point = lines.empty() || !lines.back().empty() ? lines.size() : WalkBack(lines, lines.size() - 1);
    if (inside) {
        lines.insert(lines.begin() + point, text);
        return true;
    }
    Lines added{"[" + section + "]", text};
    if (point != 0)
        added.insert(added.begin(), "");
    lines.insert(lines.begin() + point, added.begin(), added.end());
    return true;
}

} // namespace reference

TEST(IniFileIndexTest, LookupsAndEditsMatchTheLineWalkOnRandomDocuments) {
    const std::vector<std::string> pool = {"[A]",  "[a]",  "[ b ]", "[C",   "[]", "k=1", "K = 2", "k2=x",
                                           ";k=3", "#k=4", "//k=5", "/k=6", "",   "",    "x",     "=e"};
    const std::vector<std::string> sections = {"", "A", "b", "C", "D"};
    const std::vector<std::string> keys = {"k", "K2", ";k", "#k", "//k", "", "new", " k", " #k", "[E"};
    const std::vector<std::string> values = {"v", "x", "k=9", "#k=9", ";k=7", "[B]", "", ";note"};
    std::mt19937 random(12345);
    auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };

    for (int document = 0; document < 300; ++document) {
        bool spacing = random() % 2;
        IniFile ini(CurrentFileSystem(), "", spacing);
        Lines expected;
        for (int i = random() % 12; i > 0; --i) {
            expected.push_back(pick(pool));
            ini.AddLine(expected.back().c_str());
        }
        for (int edit = 0; edit < 25; ++edit) {
            std::string section = pick(sections), key = pick(keys), value = pick(values);
            bool always = random() % 2;
            bool changed = reference::Set(expected, section, key, value, always, spacing);
            ASSERT_EQ(ini.SetValue(section.c_str(), key.c_str(), value.c_str(), always, false), changed);
            ASSERT_EQ(LinesOf(ini), expected) << "document " << document << " edit " << edit;
            for (const std::string& s : sections) {
                for (const std::string& k : keys)
                    ASSERT_EQ(ini.GetValue(s.c_str(), k.c_str(), "<default>").Str(),
                              reference::Get(expected, s, k))
                        << "document " << document << " edit " << edit << " [" << s << "] " << k;
            }
        }
    }
}

} // namespace
