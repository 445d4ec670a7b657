#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/win32/Resource.h"
#include "e2e/Fixture.h"

using namespace e2e;

namespace {

using Texts = std::vector<std::string>;

class SortTest : public QuilletTest {
protected:
    void SetUp() override
    {
        QuilletTest::SetUp();
        if (HasFatalFailure()) return;
        const std::string good = WindowsFile("notepad.exe");
        SeedUninstallKey({
            {"k3", "banana", good + " /b"},
            {"k1", "Apple", good + " /c"},
            {"k2", "apple", good + " /a"},
        });
    }
    // The arrow shows in `column` only.
    static void ExpectArrowIn(const Quillet& app, int column) { EXPECT_EQ(ArrowColumn(app), column); }
};

TEST_F(SortTest, HeaderClicksAndMenuReorderTheRows)
{
    Quillet app;
    app.Start();
    EXPECT_EQ(app.Column(0), (Texts{"apple", "Apple", "banana"}));  // name, ascending at start
    ExpectArrowIn(app, 0);
    const auto ascendingArrow = app.HeaderImage(0).second;

    app.ClickHeader(0);
    EXPECT_TRUE(Quillet::WaitFor([&] { return app.Column(0) == Texts{"banana", "Apple", "apple"}; }))
        << app.RowText(0, 0);
    ExpectArrowIn(app, 0);
    EXPECT_NE(app.HeaderImage(0).second, ascendingArrow);  // the other arrow

    app.ClickHeader(2);
    EXPECT_EQ(app.Column(2), (Texts{"k1", "k2", "k3"}));
    ExpectArrowIn(app, 2);
    EXPECT_EQ(app.HeaderImage(2).second, ascendingArrow);

    app.Command(IDM_SORTCOMMAND);
    const Texts commands = app.Column(1);
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].substr(commands[0].size() - 3), " /a");
    EXPECT_EQ(commands[2].substr(commands[2].size() - 3), " /c");
    EXPECT_EQ(app.Column(0), (Texts{"apple", "banana", "Apple"}));  // commands /a, /b, /c
    ExpectArrowIn(app, 1);
    app.Command(IDM_REVERSED);
    EXPECT_EQ(app.Column(0), (Texts{"Apple", "banana", "apple"}));

    // A reload keeps the order.
    app.PressKey(VK_F5);
    Sleep(300);
    EXPECT_EQ(app.Column(0), (Texts{"Apple", "banana", "apple"}));
}

}  // namespace
