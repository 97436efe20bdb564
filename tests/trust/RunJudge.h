// Judges the trees that runs of a scenario leave against the trees of whole runs.
#pragma once

#include "Scenario.h"
#include "TreeSnapshot.h"

#include <string>
#include <vector>

// The lines of text, without their line ends.
std::vector<std::string> Lines(const std::string& text);

// The tree a scenario starts from, the tree one whole run leaves, and the tree a second whole run leaves
// after that (which differs only where runs append).
struct ReferenceTrees {
    TreeSnapshot before;
    TreeSnapshot after;
    TreeSnapshot afterTwo;
};

struct Findings {
    std::vector<std::string> problems;
    int filesChecked = 0;

    // detail (a program's output, say) is shown with the problem but does not make it a kind of its own.
    void Add(const std::string& when, const std::string& problem, const std::string& detail = "");
    // One example of each kind of problem (problems alike but for their numbers) with its count.
    std::string Summary() const;

private:
    std::vector<std::string> kinds_; // per problem, its text with the numbers masked
};

class RunJudge {
public:
    RunJudge(const Scenario& scenario, ReferenceTrees references);

    // A tree left by a run that was killed or failed: the inputs exactly as they were, and every file under a
    // real name (one the tree had before or has after a whole run) whole: the file it was before, the one a
    // whole run leaves, or a whole intermediate version (a copy not yet rewritten, a file saved in steps).
    void CheckCutShort(const std::string& when, const TreeSnapshot& left, Findings& findings) const;
    // The tree of a whole run after that: a whole run's result, keeping what the cut run had appended.
    void CheckRecovered(const std::string& when, const TreeSnapshot& cutShort, const TreeSnapshot& recovered,
                        Findings& findings) const;
    void CheckWholeRun(const std::string& when, const TreeSnapshot& tree, Findings& findings) const;

    // Files of left that have no real name: temporary files.
    std::vector<std::string> Temporaries(const TreeSnapshot& left) const;
    // Files that a whole run creates or changes, as paths relative to the root.
    std::vector<std::string> Outputs() const;

private:
    std::string Comparable(const std::string& bytes) const;
    bool IsWholeVersion(const std::string& relative, const std::string& bytes) const;
    std::string WhyNotWhole(const std::string& relative, const std::string& bytes) const;
    void CheckInputs(const std::string& when, const TreeSnapshot& left, Findings& findings) const;
    void CheckEqual(const std::string& when, const TreeSnapshot& expected, const TreeSnapshot& actual,
                    Findings& findings) const;

    const Scenario& scenario_;
    ReferenceTrees references_;
};
