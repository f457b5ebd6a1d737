#include "ui/editors/record_delay_setting.h"

#include "platform/app_profile.h"

namespace tavrix::ui {

namespace {

const char* const kSection = "PROFILES";

} // namespace

int ReadRecordDelay(const std::string& valueName)
{
    return platform::GetProfileString(kSection, valueName, "0") == "1" ? 1 : 0;
}

void WriteRecordDelay(const std::string& valueName, int state)
{
    (void)platform::WriteProfileString(kSection, valueName, state == 1 ? "1" : "0");
}

} // namespace tavrix::ui
