// Windows tests run in one process under Wine: GDI+ up for the whole run,
// and the system code page the run was started with checked first.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "skin/skin_engine.h"
#include "ui/application.h"

using namespace ui;

TEST(Environment, RunsUnderTheExpectedCodePage) {
    const char* expected = std::getenv("RPGITEM_EXPECT_ACP");
    if (!expected) GTEST_SKIP() << "no code page expectation set";
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    OleSession ole;
    skin::GdiplusSession gdiplus;
    if (!gdiplus.ok()) return 2;
    // As in the program: every main window attaches itself to the skin.
    skin::SkinEngine skin;
    return RUN_ALL_TESTS();
}
