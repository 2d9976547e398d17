#include "gamedata/Apply.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "../ScratchDir.h"
#include "GameDataTestSupport.h"

namespace vorlane {
namespace {

using testing::DataFileText;
using testing::DesignOf;
using testing::Generated;
using testing::Parse;

// The pump: a facility of `levels` levels; `cost` its minerals formula.
std::string Pump(int levels, const std::string& cost = "{10*&faclevel}", const std::string& name = "Pump") {
  return Generated(DesignOf(R"({"kind": "facility", "FacName": ")" + name + R"(", "NumFacLevels": )" +
                            std::to_string(levels) + R"(, "NumberStyle": "&faclevel", "FacFamily": "1", "MinCost": ")" +
                            cost + R"(", "TechReqs": [], "Abilities": []})"));
}

// The lines of one generated entry (1-based), each ending in `lineEnd`.
std::string EntryLines(const std::string& generated, int n, const std::string& lineEnd = "\r\n") {
  const std::vector<DataEntry> entries = ParseEntries(generated);
  std::string out;
  for (const DataLine& line : entries.at(static_cast<std::size_t>(n - 1)).lines) {
    out += generated.substr(line.begin, line.end - line.begin) + lineEnd;
  }
  return out;
}

std::vector<std::string> Names(int levels, const std::string& name = "Pump") {
  std::vector<std::string> names;
  for (int i = 1; i <= levels; ++i) names.push_back(name + " " + std::to_string(i));
  return names;
}

std::string Kinds(const ApplyPlan& plan) {
  std::string out;
  for (const ApplyChange& change : plan.changes) {
    out += change.kind == ApplyChange::Kind::Added ? "+" : change.kind == ApplyChange::Kind::Removed ? "-" : "~";
    out += change.name + ";";
  }
  return out;
}

// A file whose body holds `before`, the pump's first `levels` levels as
// generated, and `after`, with LF or CR LF.
std::string FileWithPump(int levels, const std::string& before, const std::string& after, const std::string& eol) {
  const std::string pump = levels > 0 ? Pump(levels) : std::string();
  std::string body = before;
  for (int i = 1; i <= levels; ++i) body += EntryLines(pump, i, eol) + eol;
  return "Header" + eol + "*BEGIN*" + eol + body + after + "*END*" + eol + "tail";
}

TEST(Apply, ReplacesAddsAndRemovesLevelsWhereTheyStand) {
  const std::string other = "Name := Other\r\nCost Minerals := 1\r\n\r\n";
  struct Case {
    const char* label;
    int inFile, makes;
    std::string cost;
    std::string changes;
  };
  const Case cases[] = {
      {"same", 3, 3, "{10*&faclevel}", ""},
      {"changed formula", 3, 3, "{11*&faclevel}", "~Pump 1;~Pump 2;~Pump 3;"},
      {"fewer levels", 3, 2, "{10*&faclevel}", "-Pump 3;"},
      {"more levels", 2, 4, "{10*&faclevel}", "+Pump 3;+Pump 4;"},
      {"new family", 0, 2, "{10*&faclevel}", "+Pump 1;+Pump 2;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const DataFile file = Parse(FileWithPump(c.inFile, other, other, "\r\n"));
    const std::string made = Pump(c.makes, c.cost);
    const ApplyPlan plan = PlanApply(file, {{"pump.json", made, Names(c.inFile)}}, false);
    ASSERT_TRUE(plan.Ready()) << plan.Text();
    EXPECT_EQ(Kinds(plan), c.changes);
    // Expected: the other entries as they were, the pump's levels in order
    // in the place of the old ones (or at the end for a new family).
    std::string pump;
    for (int i = 1; i <= c.makes; ++i) pump += EntryLines(made, i) + "\r\n";
    const std::string expected = c.inFile == 0 ? "Header\r\n*BEGIN*\r\n" + other + other + pump + "*END*\r\ntail"
                                               : "Header\r\n*BEGIN*\r\n" + other + pump + other + "*END*\r\ntail";
    EXPECT_EQ(plan.bytes, expected);
    EXPECT_EQ(plan.written, std::vector<std::vector<std::string>>{Names(c.makes)});
    // Applying again changes nothing.
    const ApplyPlan again = PlanApply(Parse(plan.bytes), {{"pump.json", made, Names(c.makes)}}, false);
    EXPECT_FALSE(again.Changed()) << again.Text();
    EXPECT_EQ(again.bytes, plan.bytes);
  }
}

TEST(Apply, ShowsTheChangedKeysAsTheDiffDoes) {
  const DataFile file = Parse(FileWithPump(1, "", "", "\r\n"));
  const ApplyPlan plan = PlanApply(file, {{"pump.json", Pump(1, "15"), Names(1)}}, false);
  ASSERT_EQ(plan.changes.size(), 1u);
  EXPECT_EQ(plan.changes[0].Text(), "replaced \"Pump 1\" (line 3)\n  key \"Cost Minerals\": \"10\" -> \"15\"");
}

TEST(Apply, RefusesNamesThatOtherEntriesHold) {
  const std::string mine = "Name := Pump 2\r\nDescription := hand-made\r\n\r\n";
  const DataFile file = Parse("*BEGIN*\r\n" + mine + "*END*\r\n");
  ApplyPlan plan = PlanApply(file, {{"pump.json", Pump(2), Names(1)}}, false);
  ASSERT_EQ(plan.conflicts.size(), 1u);
  EXPECT_EQ(plan.conflicts[0].Text(), "\"Pump 2\": the entry at line 2 holds this name and pump.json did not write it");
  EXPECT_FALSE(plan.Ready());
  std::string error;
  EXPECT_FALSE(WriteAppliedFile("/nonexistent/never", plan, error));
  // Confirmed: replaced.
  plan = PlanApply(file, {{"pump.json", Pump(2), {}}}, true);
  EXPECT_TRUE(plan.Ready());
  EXPECT_EQ(Kinds(plan), "~Pump 2;+Pump 1;");
  // Two designs writing one name.
  plan = PlanApply(file, {{"a.json", Pump(1), {}}, {"b.json", Pump(1), {}}}, false);
  ASSERT_EQ(plan.conflicts.size(), 1u);
  EXPECT_EQ(plan.conflicts[0].Text(), "\"Pump 1\": b.json and a.json both write this name");
}

TEST(Apply, KeepsTheFilesEncodingAndRefusesWhatItCannotHold) {
  const std::string design = R"({"kind": "facility", "FacName": "NAME", "NumFacLevels": 1, "FacFamily": "1",
                                 "TechReqs": [], "Abilities": []})";
  const auto made = [&](const std::string& name) {
    std::string json = design;
    json.replace(json.find("NAME"), 4, name);
    return Generated(DesignOf(json));
  };
  const DataFile ansi = Parse("*BEGIN*\r\n*END*\r\n");
  ApplyPlan plan = PlanApply(ansi, {{"d", made("L\xC3\xA4ser"), {}}}, false);
  EXPECT_NE(plan.bytes.find("Name                                      := L\xE4ser\r\n"), std::string::npos);
  plan = PlanApply(ansi, {{"d", made("Zap \xE2\x98\xA2"), {}}}, false);
  EXPECT_EQ(plan.error,
            "entry 1 \"Zap \xE2\x98\xA2\", key \"Name\": \"\xE2\x98\xA2\" (U+2622) cannot be written in Windows-1252");
  EXPECT_FALSE(plan.Ready());
  const DataFile utf8 = Parse("\xEF\xBB\xBF*BEGIN*\n*END*\n");
  plan = PlanApply(utf8, {{"d", made("Zap \xE2\x98\xA2"), {}}}, false);
  EXPECT_TRUE(plan.Ready());
  EXPECT_TRUE(plan.bytes.starts_with("\xEF\xBB\xBF*BEGIN*\nName"));
  EXPECT_NE(plan.bytes.find(":= Zap \xE2\x98\xA2\n"), std::string::npos);
}

// Random files: random headers, entries, blank lines, line ends; the pump
// in the middle. Every byte outside the pump's entries stays.
TEST(Apply, KeepsEveryOtherByteOfRandomFiles) {
  std::mt19937 random(23);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const auto words = [&](int n) {
    static const char* kWords[] = {"Laser", "  ", "Cost", ":=", "\t", "Ä", "x", "12", "Name", "{", "&"};
    std::string text;
    for (int i = 0; i < n; ++i) text += kWords[pick(11)];
    return text;
  };
  for (int round = 0; round < 40; ++round) {
    const std::string eol = pick(2) ? "\r\n" : "\n";
    const auto entries = [&](int count) {
      std::string text;
      for (int e = 0; e < count; ++e) {
        text += "Name := Random " + std::to_string(round) + "-" + std::to_string(e) + eol;
        for (int l = pick(4); l > 0; --l) text += words(1 + pick(4)) + ":=" + words(pick(4)) + eol;
        for (int b = 1 + pick(3); b > 0; --b) text += std::string(static_cast<std::size_t>(pick(2)), ' ') + eol;
      }
      return text;
    };
    const int levels = 1 + pick(3);
    const std::string bytes = FileWithPump(levels, entries(pick(5)), entries(pick(5)), eol);
    const DataFile file = Parse(bytes);
    const std::string made = Pump(levels, "{7*&faclevel}");
    const ApplyPlan plan = PlanApply(file, {{"pump.json", made, Names(levels)}}, false);
    ASSERT_TRUE(plan.Ready()) << plan.Text();
    std::string expected = bytes;
    for (int i = levels; i >= 1; --i) {
      const std::string old = EntryLines(Pump(levels), i, eol);
      expected.replace(expected.find(old), old.size(), EntryLines(made, i, eol));
    }
    ASSERT_EQ(plan.bytes, expected) << "round " << round;
  }
}

TEST(Apply, ReportsDuplicateNamesOfTheResult) {
  const DataFile file = Parse(DataFileText("Name := Twin\n\nName := twin \n\n"));
  const ApplyPlan plan = PlanApply(file, {{"pump.json", Pump(1), {}}}, false);
  EXPECT_EQ(plan.duplicates, std::vector<std::string>{"twin"});
  const CheckReport report = CheckApplied(plan, GameData{});
  EXPECT_NE(report.Text().find("more than one entry of the file has this name"), std::string::npos);
}

std::string Contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Apply, WritesSafelyOrNotAtAll) {
  testing::ScratchDir dir;
  const auto path = dir.Path() / "Facility.txt";
  const std::string original = FileWithPump(2, "", "", "\r\n");
  std::ofstream(path, std::ios::binary) << original;
  const ApplyPlan plan = PlanApply(Parse(original), {{"pump.json", Pump(3), Names(2)}}, false);
  ASSERT_TRUE(plan.Changed());
  const auto files = [&] {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(dir.Path())) names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  };
  std::string error;
  // The disk fills up while writing: the file stays, nothing else is left.
  EXPECT_FALSE(WriteAppliedFile(path, plan, error, [](std::FILE* f, std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size() / 2, f);
    return false;
  }));
  EXPECT_EQ(error, "cannot write beside \"" + path.string() + "\" (is the disk full?); the file is unchanged");
  EXPECT_EQ(Contents(path), original);
  EXPECT_EQ(files(), std::vector<std::string>{"Facility.txt"});
  // Written: the previous file kept as the backup.
  ASSERT_TRUE(WriteAppliedFile(path, plan, error)) << error;
  EXPECT_EQ(Contents(path), plan.bytes);
  EXPECT_EQ(Contents(dir.Path() / "Facility.txt.bak"), original);
  EXPECT_EQ(files(), (std::vector<std::string>{"Facility.txt", "Facility.txt.bak"}));
  // The file changed since the plan was made: refused, left as it is.
  std::ofstream(path, std::ios::binary | std::ios::app) << "edited elsewhere";
  EXPECT_FALSE(WriteAppliedFile(path, plan, error));
  EXPECT_EQ(error, "\"" + path.string() + "\" changed on disk since it was read; nothing was written");
  EXPECT_EQ(Contents(path), plan.bytes + "edited elsewhere");
}

TEST(Apply, RemembersWrittenNamesPerFile) {
  std::vector<WrittenEntries> written{{"/mod/Data/Components.txt", {"A 1"}}};
  EXPECT_EQ(WrittenNames(written, "/MOD/data/components.TXT"), std::vector<std::string>{"A 1"});
  EXPECT_TRUE(WrittenNames(written, "/mod/Data/Facility.txt").empty());
  SetWrittenNames(written, "/mod/Data/Facility.txt", {"F 1"});
  SetWrittenNames(written, "/mod/data/components.txt", {"A 1", "A 2"});
  EXPECT_EQ(written, (std::vector<WrittenEntries>{{"/mod/Data/Components.txt", {"A 1", "A 2"}},
                                                  {"/mod/Data/Facility.txt", {"F 1"}}}));
  // And the design file keeps them; files without them still read.
  vrlFacility record;
  record.SetWritten(written);
  std::string error;
  auto design = ParseDesign(DesignToJson(record), error);
  ASSERT_TRUE(design) << error;
  EXPECT_EQ(design->facility.Written(), written);
  EXPECT_EQ(DesignToJson(vrlFacility{}).find("WrittenTo"), std::string::npos);
  EXPECT_FALSE(ParseDesign(R"({"kind": "facility", "WrittenTo": [{"Names": []}]})", error));
  EXPECT_EQ(error, "/WrittenTo/0/File: missing");
}

}  // namespace
}  // namespace vorlane
