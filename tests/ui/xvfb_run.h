#pragma once

#include <QString>
#include <QStringList>

// Window tests on a real X server: the test program starts itself again under xvfb-run, where
// only the named cases run and find the X server in place.
namespace tavrix::testing {

// Runs this test program again under xvfb-run (one 1920 × 1080 screen) with only the cases of
// filter, and expects it to pass. Skips the calling test when xvfb-run or one of the programs the
// inner cases need is not installed.
void RunUnderXvfb(const QString& filter, const QStringList& programs = {});

// Whether this run is the inner one, under the X server RunUnderXvfb started.
[[nodiscard]] bool IsUnderXvfb();

} // namespace tavrix::testing
