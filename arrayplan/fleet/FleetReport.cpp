#include "arrayplan/fleet/FleetReport.h"

#include "foundation/TextCase.h"

#include <nlohmann/json.hpp>

using json = nlohmann::ordered_json;

namespace {

const char* const kColumns[] = {"inventory", "machine_type", "serial_number", "controller",
                                "model",     "policy",       "code",          "message",
                                "arrays",    "usable_mb",    "wasted_mb"};

bool endsWithNoCase(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && EqualsNoCase(text.substr(text.size() - end.size()), end);
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

// A row's fields in column order; a row without controller leaves the controller's fields empty.
std::vector<std::string> rowFields(const InventoryOutcome& outcome, const ControllerSummary* controller) {
    std::vector<std::string> fields = {outcome.path, outcome.machineType, outcome.serialNumber};
    fields.push_back(controller ? std::to_string(controller->number) : "");
    fields.push_back(controller ? controller->model : "");
    fields.push_back(controller ? controller->policy : "");
    fields.push_back(std::to_string(outcome.status));
    fields.push_back(outcome.message);
    fields.push_back(controller ? controller->arrays : "");
    fields.push_back(controller ? std::to_string(controller->usableMb) : "");
    fields.push_back(controller ? std::to_string(controller->wastedMb) : "");
    return fields;
}

std::string csvRow(const std::vector<std::string>& fields) {
    std::string row;
    for (size_t i = 0; i < fields.size(); ++i)
        row += (i > 0 ? "," : "") + csvField(fields[i]);
    return row + "\n";
}

// The numbers are numbers, a missing controller's fields null.
std::string jsonRow(const std::vector<std::string>& fields) {
    json row = json::object();
    for (size_t i = 0; i < fields.size(); ++i) {
        std::string column = kColumns[i];
        bool number =
            column == "controller" || column == "code" || column == "usable_mb" || column == "wasted_mb";
        if (number)
            row[column] = fields[i].empty() ? json(nullptr) : json(std::stoll(fields[i]));
        else
            row[column] = fields[i];
    }
    // Texts of an inventory that are not UTF-8 are replaced rather than refused.
    return row.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

} // namespace

bool reportFormatOf(const std::string& path, ReportFormat& format) {
    if (endsWithNoCase(path, ".csv"))
        format = ReportFormat::Csv;
    else if (endsWithNoCase(path, ".jsonl"))
        format = ReportFormat::JsonLines;
    else
        return false;
    return true;
}

std::string reportHeader(ReportFormat format) {
    return format == ReportFormat::Csv
               ? csvRow(std::vector<std::string>(std::begin(kColumns), std::end(kColumns)))
               : "";
}

std::string reportRows(ReportFormat format, const InventoryOutcome& outcome) {
    auto row = [&](const ControllerSummary* controller) {
        std::vector<std::string> fields = rowFields(outcome, controller);
        return format == ReportFormat::Csv ? csvRow(fields) : jsonRow(fields);
    };
    if (outcome.controllers.empty())
        return row(nullptr);
    std::string rows;
    for (const ControllerSummary& controller : outcome.controllers)
        rows += row(&controller);
    return rows;
}
