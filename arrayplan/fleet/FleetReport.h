// The report of a fleet check: one row per inventory and controller, as CSV (RFC 4180: fields quoted when
// they hold a comma, a quote or a line end, quotes doubled; lines end as the platform ends text lines) or
// as JSON lines.
#pragma once

#include "arrayplan/model/JsonReport.h"

#include <string>
#include <vector>

// What one inventory's run gave, for its rows.
struct InventoryOutcome {
    std::string path;
    int status = 0;      // the run's exit status
    std::string message; // its result's message
    std::string machineType;
    std::string serialNumber;
    std::vector<ControllerSummary> controllers; // none: one row without controller fields
};

enum class ReportFormat { Csv, JsonLines };

// The format that the report's name asks for (".csv" or ".jsonl", any letter case); false for another.
bool reportFormatOf(const std::string& path, ReportFormat& format);

// The report's first line: the CSV header; nothing for JSON lines.
std::string reportHeader(ReportFormat format);

// The rows of one inventory.
std::string reportRows(ReportFormat format, const InventoryOutcome& outcome);
