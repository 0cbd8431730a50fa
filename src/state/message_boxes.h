// The program's message boxes, behind a seam: the main window shows them, the command
// line shows none.
#pragma once

#include <string>

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // An information box with an OK button.
    virtual void ShowInformation(const std::string& text, const std::string& caption) = 0;
};
