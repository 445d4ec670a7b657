#pragma once
#include <string>

namespace quillet {

// The strip's text while no job runs.
inline constexpr const char* kReady = "Ready...";

// The strip above the program list that shows a running job: its text and its lamp.
class JobView {
public:
    virtual ~JobView() = default;
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void SetLed(bool on) = 0;
};

}  // namespace quillet
