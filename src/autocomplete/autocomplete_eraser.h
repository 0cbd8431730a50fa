// The AutoComplete step of a run: lists every form field whose entries AutoComplete
// remembers in the Protected Storage area, one line per field, and in Clear removes the
// area's AutoComplete type key with everything below it. EraseAutoComplete itself is
// declared with the other erasers in clean/erasers.h.
#pragma once

#include <string>
#include <vector>

#include "state/activity_log.h"

namespace autocomplete {
constexpr char kProviderPath[] = "Software\\Microsoft\\Protected Storage System Provider\\";
constexpr char kDataKey[] = "Data";
// The AutoComplete type; its one subtype key has the same name.
constexpr char kTypeKey[] = "e161255a-37c3-11d2-bcaa-00c04fd929db";
}  // namespace autocomplete

// What the reports of one AutoComplete step share: the log the lines go to, whether
// the step is a Test, and the fields whose form lines were written.
struct FormEntryReport {
    ActivityLog* autoCompleteLog = nullptr;
    bool testMode = false;
    std::vector<std::string> fields;
};

// Turns the name of a stored item key into a form line: "field:StringIndex" gives one
// line for the field, every other name (":StringData" items, the subtype key) none. The
// line goes straight to the end of the log, as a raw line.
void ReportFormEntry(FormEntryReport& report, const char* name);
