// The activity log as texts for exact comparisons; emphasised lines start with "**".
#pragma once

#include <string>
#include <vector>

#include "state/activity_log.h"

using Lines = std::vector<std::string>;

inline Lines LogLines(const ActivityLog& log) {
    Lines out;
    for (const LogLine& line : log.Lines()) {
        out.push_back((line.emphasis != 0 ? "**" : "") + line.text);
    }
    return out;
}
