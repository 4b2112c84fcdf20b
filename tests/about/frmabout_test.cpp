// The About window: what it shows, how it closes, and how it finds the system-information tool.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "about/frmabout.hpp"
#include "app/identity.hpp"
#include "game/frmcode.hpp"
#include "tests/about/fake_platform.hpp"
#include "tests/support/scripted_runtime.hpp"

namespace numerak::test {
namespace {

constexpr const char* toolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* folderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const Shown unavailable =
    message("System Information Is Unavailable At This Time", ScriptedRuntime::defaultTitle, Buttons::Ok);

class AboutTest : public ::testing::Test {
protected:
    std::int16_t read(const MemoryRegistry::Value& value, std::string& out) {
        platform.registry.set(Registry::LocalMachine, "SOFTWARE\\Test", "Value", value);
        return about.GetKeyValue(Registry::LocalMachine, "SOFTWARE\\Test", "Value", out);
    }
    static MemoryRegistry::Value bytes(std::uint32_t type, std::vector<std::uint8_t> data) {
        return {type, std::move(data)};
    }

    ScriptedRuntime rt;
    FakePlatform platform;
    frmAbout about{rt, platform, numerakIdentity};
};

using GetKeyValueTest = AboutTest;

TEST_F(GetKeyValueTest, readsTextWithOrWithoutItsTerminatingZero) {
    std::string v;
    EXPECT_EQ(read(MemoryRegistry::text("C:\\Tools\\msinfo32.exe"), v), -1);
    EXPECT_EQ(v, "C:\\Tools\\msinfo32.exe");
    EXPECT_EQ(read(MemoryRegistry::text("C:\\Tools", false), v), -1);
    EXPECT_EQ(v, "C:\\Tools");
    EXPECT_EQ(read(MemoryRegistry::text(""), v), -1);  // just the zero
    EXPECT_EQ(v, "");
    const std::string full(1024, 'x');  // fills the buffer exactly
    EXPECT_EQ(read(MemoryRegistry::text(full, false), v), -1);
    EXPECT_EQ(v, full);
    EXPECT_EQ(platform.registry.openKeys(), 0);
}

TEST_F(GetKeyValueTest, keysAndNamesAreFoundWhateverTheirCaseInATurkishLocaleToo) {
    // Turkish lower-cases "I" to a dotless letter: the names compare in ASCII all the same.
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "tr_TR.UTF-8")) GTEST_SKIP() << "no tr_TR.UTF-8 locale on this machine";
    platform.registry.set(Registry::LocalMachine, "SOFTWARE\\MICROSOFT\\INFO", "PATH", MemoryRegistry::text("C:\\x"));
    std::string v;
    const auto found = about.GetKeyValue(Registry::LocalMachine, "software\\microsoft\\info", "path", v);
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(found, -1);
    EXPECT_EQ(v, "C:\\x");
}

TEST_F(GetKeyValueTest, anythingUnreadableGivesEmptyTextAndFalse) {
    std::string v = "old";
    EXPECT_EQ(read(MemoryRegistry::text(std::string(1024, 'x')), v), 0);  // 1025 bytes with the zero
    EXPECT_EQ(v, "");
    v = "old";
    EXPECT_EQ(about.GetKeyValue(Registry::LocalMachine, "SOFTWARE\\Missing", "Value", v), 0);
    EXPECT_EQ(v, "");
    v = "old";
    EXPECT_EQ(about.GetKeyValue(Registry::LocalMachine, "SOFTWARE\\Test", "Other", v), 0);
    EXPECT_EQ(v, "");
    platform.registry.denyAccess(Registry::LocalMachine, "SOFTWARE\\Test");
    v = "old";
    EXPECT_EQ(about.GetKeyValue(Registry::LocalMachine, "SOFTWARE\\Test", "Value", v), 0);
    EXPECT_EQ(v, "");
    EXPECT_EQ(platform.registry.openKeys(), 0);
}

TEST_F(GetKeyValueTest, asksForReadAccessOnly) {
    std::string v;
    read(MemoryRegistry::text("x"), v);
    EXPECT_EQ(platform.accessAsked, std::vector<std::uint32_t>{0x20019});
}

TEST_F(GetKeyValueTest, numbersReadAsTheirHexadecimalValue) {
    std::string v = "leftover";
    EXPECT_EQ(read(bytes(Registry::Number, {0x34, 0x12, 0x00, 0x00}), v), -1);
    EXPECT_EQ(v, "&h1234");  // replaced, not appended to
    read(bytes(Registry::Number, {0x05, 0x01, 0x00, 0x00}), v);
    EXPECT_EQ(v, "&h105");
    read(MemoryRegistry::number(0), v);
    EXPECT_EQ(v, "&h0");
    read(MemoryRegistry::number(0xFFFFFFFF), v);
    EXPECT_EQ(v, "&hFFFFFFFF");
    read(MemoryRegistry::number(0xA0B0C0D), v);
    EXPECT_EQ(v, "&hA0B0C0D");
}

TEST_F(GetKeyValueTest, otherTypesAreReadButGiveNoText) {
    std::string v = "kept";
    EXPECT_EQ(read(bytes(3, {1, 2, 3}), v), -1);
    EXPECT_EQ(v, "kept");
}

TEST_F(GetKeyValueTest, aValueWithNoBytesFailsAndStillClosesTheKey) {
    std::string v;
    EXPECT_THROW(read(bytes(Registry::String, {}), v), RuntimeFailure);
    EXPECT_EQ(platform.registry.openKeys(), 0);
}

using StartSysInfoTest = AboutTest;

TEST_F(StartSysInfoTest, theToolsOwnPathIsStartedAsItStands) {
    platform.registry.set(Registry::LocalMachine, toolKey, "PATH",
                          MemoryRegistry::text("C:\\Program Files\\Info\\msinfo32.exe"));
    platform.programs.insert("C:\\Program Files\\Info\\msinfo32.exe");
    about.StartSysInfo();
    EXPECT_EQ(platform.started,
              (std::vector<std::pair<std::string, int>>{{"C:\\Program Files\\Info\\msinfo32.exe", 1}}));
    EXPECT_TRUE(platform.searched.empty());
    EXPECT_TRUE(rt.shown.empty());
}

TEST_F(StartSysInfoTest, theFolderIsSearchedThenItsToolStarted) {
    platform.registry.set(Registry::LocalMachine, folderKey, "MSINFO", MemoryRegistry::text("C:\\Info"));
    platform.files.insert("C:\\Info\\MSINFO32.EXE");
    platform.programs.insert("C:\\Info\\MSINFO32.EXE");
    about.StartSysInfo();
    EXPECT_EQ(platform.searched, std::vector<std::string>{"C:\\Info\\MSINFO32.EXE"});
    EXPECT_EQ(platform.started.at(0).first, "C:\\Info\\MSINFO32.EXE");
    EXPECT_TRUE(rt.shown.empty());
}

TEST_F(StartSysInfoTest, aFolderEndingInABackslashIsTakenAsItStands) {
    platform.registry.set(Registry::LocalMachine, folderKey, "MSINFO", MemoryRegistry::text("C:\\Info\\"));
    rt.answer(Answer::Ok);  // nothing is there
    about.StartSysInfo();
    EXPECT_EQ(platform.searched, std::vector<std::string>{"C:\\Info\\\\MSINFO32.EXE"});
}

TEST_F(StartSysInfoTest, everyDeadEndSaysTheToolIsUnavailable) {
    struct Case {
        const char* what;
        void (*setUp)(FakePlatform&);
    };
    const Case cases[] = {
        {"nothing in the registry", [](FakePlatform&) {}},
        {"a folder without the tool",
         [](FakePlatform& p) {
             p.registry.set(Registry::LocalMachine, folderKey, "MSINFO", MemoryRegistry::text("C:\\Info"));
         }},
        {"a folder that cannot be searched",
         [](FakePlatform& p) {
             p.registry.set(Registry::LocalMachine, folderKey, "MSINFO", MemoryRegistry::text("C:\\Info"));
             p.searchFails = true;
         }},
        {"a path that names no program",
         [](FakePlatform& p) {
             p.registry.set(Registry::LocalMachine, toolKey, "PATH", MemoryRegistry::text("C:\\nothing.exe"));
         }},
        {"a path of another type",
         [](FakePlatform& p) {
             p.registry.set(Registry::LocalMachine, toolKey, "PATH", {3, {1, 2}});
         }},
        {"a path that is a number",
         [](FakePlatform& p) { p.registry.set(Registry::LocalMachine, toolKey, "PATH", MemoryRegistry::number(7)); }},
        {"a path with no bytes",
         [](FakePlatform& p) {
             p.registry.set(Registry::LocalMachine, toolKey, "PATH", {Registry::String, {}});
         }},
        {"a path too long to read",
         [](FakePlatform& p) {
             p.registry.set(Registry::LocalMachine, toolKey, "PATH", MemoryRegistry::text(std::string(2000, 'x')));
         }},
    };
    for (const Case& c : cases) {
        ScriptedRuntime runtime;
        FakePlatform fake;
        c.setUp(fake);
        frmAbout window(runtime, fake, numerakIdentity);
        runtime.answer(Answer::Ok);
        window.StartSysInfo();
        EXPECT_EQ(runtime.shown, std::vector<Shown>{unavailable}) << c.what;
        EXPECT_TRUE(fake.started.empty()) << c.what;
        EXPECT_EQ(fake.registry.openKeys(), 0) << c.what;
    }
}

using AboutWindowTest = AboutTest;

TEST_F(AboutWindowTest, loadFillsInTitleAndVersion) {
    auto form = rt.load(about);
    EXPECT_EQ(form->caption(), "About Numerak");
    EXPECT_EQ((*form)["lblVersion"].caption(), "Version " NUMERAK_VERSION);
    EXPECT_EQ((*form)["lblTitle"].caption(), "Numerak");
    EXPECT_EQ((*form)["lblDescription"].caption().back(), ' ');
    EXPECT_TRUE(rt.shown.empty());
}

TEST_F(AboutWindowTest, okClosesWithoutAQuestionAndSysInfoKeepsItOpen) {
    ASSERT_TRUE(rt.load(about));
    rt.answer(Answer::Ok);
    about.cmdSysInfo_Click();
    EXPECT_EQ(rt.shown, std::vector<Shown>{unavailable});
    EXPECT_TRUE(rt.unloaded.empty());
    about.cmdOK_Click();
    EXPECT_EQ(rt.unloaded, std::vector<const FormLogic*>{&about});
    EXPECT_EQ(rt.shown.size(), 1u);
}

TEST(HelpAbout, opensTheSameWindowAfreshEachTimeAndLeavesTheGameAlone) {
    ScriptedRuntime rt;
    FakePlatform platform;
    Generator generator;
    int made = 0;
    frmAbout* aboutWindow = nullptr;
    frmCode game(rt, generator, [&] {
        ++made;
        auto w = std::make_unique<frmAbout>(rt, platform, numerakIdentity);
        aboutWindow = w.get();
        return w;
    });
    rt.answer(Answer::Ok);
    auto form = rt.load(game);
    (*form)["Option3"].setValue(true);
    game.Command5_Click();
    const GameState before = game.state();

    std::vector<std::string> captions;
    rt.whileModal = [&](FormLogic& w) {
        ASSERT_EQ(&w, aboutWindow);
        aboutWindow->cmdOK_Click();
        captions.emplace_back("closed");
    };
    game.mnuHelpAbout_Click();
    game.mnuHelpAbout_Click();
    EXPECT_EQ(made, 1);
    EXPECT_EQ(captions.size(), 2u);
    EXPECT_EQ(rt.unloaded.size(), 2u);
    EXPECT_EQ(game.state(), before);
    EXPECT_FALSE(rt.ended());
    EXPECT_TRUE(rt.scriptDone());
}

}  // namespace
}  // namespace numerak::test
