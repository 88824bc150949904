#include "common/BusyPointer.h"

#include "../../support/ScriptedDesktop.h"
#include "services/Screen.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace bryx;
using namespace bryx::test;

namespace {

void failWhileBusy()
{
    const BusyPointer busy;
    throw std::runtime_error("the database went away");
}

} // namespace

TEST(BusyPointer, ShowsTheHourglassAndGivesTheDefaultBackOnEveryPathOnce)
{
    ScriptedDesktop desktop;
    {
        const BusyPointer busy;
        EXPECT_EQ(DesktopServices::current().mousePointer(), MousePointer::Hourglass);
    }
    EXPECT_EQ(desktop.pointers, (std::vector<int> {MousePointer::Hourglass, MousePointer::Default}));

    desktop.pointers.clear();
    EXPECT_THROW(failWhileBusy(), std::runtime_error);
    EXPECT_EQ(desktop.pointers, (std::vector<int> {MousePointer::Hourglass, MousePointer::Default}))
        << "an error leaves no hourglass behind";

    desktop.pointers.clear();
    {
        BusyPointer busy;
        busy.restore(); // before asking the user something
        EXPECT_EQ(DesktopServices::current().mousePointer(), MousePointer::Default);
    }
    EXPECT_EQ(desktop.pointers, (std::vector<int> {MousePointer::Hourglass, MousePointer::Default}))
        << "restored early, the end of the scope sets nothing more";
}
