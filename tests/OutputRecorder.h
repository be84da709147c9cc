// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Stands in for the window's result fields in the core's tests, the fuzz
// target and the benchmark. Standard C++ only.

#include "TrackingSolver.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kalibrix::test {

// Logs every text in the order it is shown and keeps the last text of each
// field, as the field itself would.
class OutputRecorder : public OutputSink {
public:
    void ShowOutput(OutputField field, const std::string& text) override
    {
        log.emplace_back(field, text);
        current[field] = text;
    }

    // The field's last text, empty while it has shown none.
    std::string text(OutputField field) const
    {
        const auto it = current.find(field);
        return it == current.end() ? std::string() : it->second;
    }

    std::vector<std::pair<OutputField, std::string>> log;
    std::map<OutputField, std::string> current;
};

} // namespace kalibrix::test
