// The settings reader: any text, as read from "settings.ini".
#include "FuzzSupport.h"

#include "app/Settings.h"
#include "platform/Cp1252.h"
#include "platform/RuntimeError.h"

namespace {

bool same(const SettingsRecord& a, const SettingsRecord& b)
{
    return a.OverviewHeight == b.OverviewHeight && a.OverviewWidth == b.OverviewWidth
        && a.MainHeight == b.MainHeight && a.MainWidth == b.MainWidth
        && a.MainWindowState == b.MainWindowState;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SettingsRecord rec;
    qint16 firstRun = 0;
    try {
        ReadSettingsText(decode1252(bytesOf(data, size)), rec, firstRun);
    } catch (const RuntimeError& e) {
        // Past the end, not a number, or out of the 16-bit range.
        FUZZ_CHECK(e.number == 62 || e.number == Err::TypeMismatch || e.number == Err::Overflow);
    }

    // Whatever was read is written so that it reads back the same, in both
    // forms of line 9.
    SettingsRecord again;
    qint16 firstRunAgain = -1;
    ReadSettingsText(decode1252(SettingsFileBytes(rec, firstRun)), again, firstRunAgain);
    FUZZ_CHECK(same(rec, again) && firstRunAgain == firstRun);
    ReadSettingsText(decode1252(SettingsFileBytes(rec, firstRun, false)), again, firstRunAgain);
    FUZZ_CHECK(same(rec, again) && firstRunAgain == 0);
    return 0;
}
