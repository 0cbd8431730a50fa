// The start page reset against the in-memory registry.
#include "registry_eraser_fixture.h"

namespace {

const std::string kMain = "Software\\Microsoft\\Internet Explorer\\Main";
const std::string kValue = "起始页";
const std::string kOldPage = "http://home.example/";  // 20 characters

class StartPage : public RegistryEraser {
protected:
    Lines Run(bool testMode) {
        dlg.log.ClearLog();
        ResetStartPage(dlg, testMode);
        return Log();
    }
};

TEST_F(StartPage, TestNamesTheOldPageAndClearWritesAboutBlank) {
    PutText(kMain, kValue, kOldPage);
    EXPECT_EQ(Lines{"**测试: 删除原来的起始页" + kOldPage + "<OK>"}, Run(true));
    EXPECT_EQ(kOldPage + '\0', Get(kMain, kValue));
    EXPECT_EQ(Lines{"**删除原来的起始页" + kOldPage + " <OK>"}, Run(false));
    // Eleven bytes given; the terminator that follows them is stored too, as NT does.
    EXPECT_EQ(std::string("about:blank\0", 12), Get(kMain, kValue));
    EXPECT_EQ(Lines{"**起始页被设置为 about:blank"}, Run(false));
}

TEST_F(StartPage, AboutBlankInAnyCaseIsLeftAsItIs) {
    PutText(kMain, kValue, "About:Blank");
    for (bool testMode : {false, true}) {
        EXPECT_EQ(Lines{"**起始页被设置为 about:blank"}, Run(testMode));
    }
    EXPECT_EQ(std::string("About:Blank\0", 12), Get(kMain, kValue));
}

TEST_F(StartPage, MissingValueIsReportedAndNotCreated) {
    PutText(kMain, "Start Page", kOldPage);
    for (bool testMode : {false, true}) {
        EXPECT_EQ(Lines{"**无法删除 IE 起始页"}, Run(testMode));
    }
    EXPECT_EQ("(none)", Get(kMain, kValue));
}

TEST_F(StartPage, MissingKeyWritesNothing) {
    for (bool testMode : {false, true}) {
        EXPECT_EQ(Lines{}, Run(testMode));
    }
    EXPECT_FALSE(HasKey(kMain));
}

TEST_F(StartPage, RefusedWriteIsReportedAndTheOldPageStays) {
    PutText(kMain, kValue, kOldPage);
    mem.registry.faults.Fail("Registry.SetValue", winerr::kAccessDenied, kValue);
    EXPECT_EQ(Lines{"**\\\n无法删除 IE 起始页"}, Run(false));
    EXPECT_EQ(kOldPage + '\0', Get(kMain, kValue));
}

TEST_F(StartPage, PageLongerThanTheBufferIsNeverCut) {
    const std::string longPage = "http://" + std::string(993, 'p');  // 1001 bytes with NUL
    PutText(kMain, kValue, longPage);
    EXPECT_EQ(Lines{"**无法删除 IE 起始页"}, Run(false));
    EXPECT_EQ(longPage + '\0', Get(kMain, kValue));
}

TEST_F(StartPage, PageFillingTheBufferWithoutATerminatorIsReadNoFurther) {
    Put(kMain, kValue, "http://" + std::string(993, 'p'));  // exactly 1000 bytes
    Lines lines = Run(false);
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ(0u, lines[0].find("**删除原来的起始页http://ppp"));
    EXPECT_EQ(std::string("about:blank\0", 12), Get(kMain, kValue));
}

}  // namespace
