// The panel's position in the real (Wine) registry: what load_panel_position
// makes of each kind of stored value, and what the panel writes as it moves.
#include "panel_fixture.h"

#include "desktop/message_pump.h"

namespace {

DWORD pack(int x, int y)
{
    return (static_cast<DWORD>(y) & 0xFFFF) << 16 | (static_cast<DWORD>(x) & 0xFFFF);
}

void store_dword(DWORD value)
{
    write_stored_position(REG_DWORD, &value, sizeof value);
}

// The desktop's caption heights changed for one test and put back after it:
// the full caption made taller than the tool window's small one plus its
// frame, as a user's own settings or a higher resolution may have them. (By
// Wine's defaults the two sums happen to be equal.)
class TallCaptions {
public:
    TallCaptions()
    {
        saved_.cbSize = sizeof saved_;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof saved_, &saved_, 0);
        NONCLIENTMETRICSA tall = saved_;
        tall.iCaptionHeight = saved_.iSmCaptionHeight + 10;
        SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof tall, &tall, 0);
    }
    ~TallCaptions() { SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof saved_, &saved_, 0); }

private:
    NONCLIENTMETRICSA saved_{};
};

// What the panel stores for where it stands now: its window's upper-left corner.
DWORD stored_form_of(HWND panel)
{
    RECT frame;
    GetWindowRect(panel, &frame);
    return pack(frame.left, frame.top);
}

// The panel of these tests: 300 × 200 pixels on the primary screen.
class PositionTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        panel_state.full_width = 300;
        panel_state.full_height = 200;
        screen_width = GetSystemMetrics(SM_CXSCREEN);
        screen_height = GetSystemMetrics(SM_CYSCREEN);
        centred = pack(screen_width / 2 - 150, screen_height / 2 - 100);
    }

    int screen_width = 0;
    int screen_height = 0;
    DWORD centred = 0;
};

}  // namespace

TEST_F(PositionTest, AMissingValueGivesTheCentredPosition)
{
    delete_stored_position();
    EXPECT_EQ(load_panel_position(), centred);
}

TEST_F(PositionTest, AStoredPositionOnTheScreenIsKeptUpToTheEdges)
{
    for (DWORD value : {pack(100, 200), pack(0, 0), pack(screen_width - 300, screen_height - 200)}) {
        store_dword(value);
        EXPECT_EQ(load_panel_position(), value);
    }
}

TEST_F(PositionTest, APositionPastTheRightOrBottomEdgeGivesTheCentredPosition)
{
    for (DWORD value : {pack(screen_width - 299, 10), pack(10, screen_height - 199), pack(9999, 9999)}) {
        store_dword(value);
        EXPECT_EQ(load_panel_position(), centred) << std::hex << value;
    }
}

TEST_F(PositionTest, ANegativeCoordinateReadsAsLargeAndGivesTheCentredPosition)
{
    store_dword(pack(-10, 50));
    EXPECT_EQ(load_panel_position(), centred);
    store_dword(pack(50, -1));
    EXPECT_EQ(load_panel_position(), centred);
}

TEST_F(PositionTest, ValuesOfOtherTypesAreReadAsTheirBytesWhenTheyFit)
{
    // Eight bytes do not fit the four read.
    unsigned long long wide = pack(100, 100);
    write_stored_position(REG_QWORD, &wide, sizeof wide);
    EXPECT_EQ(load_panel_position(), centred);

    // A text of six bytes does not fit either.
    write_stored_position(REG_SZ, "12345", 6);
    EXPECT_EQ(load_panel_position(), centred);

    // "1" and its terminator fit: the bytes 0x31 0x00 are x = 49, y = 0.
    write_stored_position(REG_SZ, "1", 2);
    EXPECT_EQ(load_panel_position(), pack(49, 0));
}

TEST_F(PositionTest, StoringCreatesTheKeyWhenItIsMissing)
{
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TAVIREK\\Kelvaro");
    DWORD value = 0;
    ASSERT_FALSE(read_stored_position(&value));
    store_panel_position(pack(16, 20));
    ASSERT_TRUE(read_stored_position(&value));
    EXPECT_EQ(value, pack(16, 20));
}

TEST_F(PanelTest, WithNoValueThePanelOpensCentredAndItsFirstPlacementIsStored)
{
    delete_stored_position();
    create_panel();
    RECT frame;
    GetWindowRect(panel(), &frame);
    EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXSCREEN) / 2 - panel_state.full_width / 2);
    EXPECT_EQ(frame.top, GetSystemMetrics(SM_CYSCREEN) / 2 - panel_state.full_height / 2);

    DWORD stored = 0;
    ASSERT_TRUE(read_stored_position(&stored));
    EXPECT_EQ(stored, stored_form_of(panel()));
}

TEST_F(PanelTest, AStoredPositionPlacesThePanelAndEveryMoveIsStored)
{
    store_dword(pack(100, 200));
    create_panel();
    RECT frame;
    GetWindowRect(panel(), &frame);
    EXPECT_EQ(frame.left, 100);
    EXPECT_EQ(frame.top, 200);

    open_panel();
    for (POINT to : {POINT{300, 150}, POINT{310, 160}, POINT{0, 0}}) {
        SetWindowPos(panel(), nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        DWORD stored = 0;
        ASSERT_TRUE(read_stored_position(&stored));
        EXPECT_EQ(stored, pack(to.x, to.y));
    }
}

TEST_F(PanelTest, ClosedAndOpenedAgainThePanelComesBackExactlyWhereItWas)
{
    TallCaptions captions;
    store_dword(pack(100, 200));
    POINT expected = {100, 200};
    for (int session = 0; session < 4; ++session) {
        SCOPED_TRACE(session);
        create_panel();
        RECT frame;
        GetWindowRect(panel(), &frame);
        POINT client = {0, 0};
        ClientToScreen(panel(), &client);
        ASSERT_NE(client.y - frame.top, GetSystemMetrics(SM_CYCAPTION)) << "no caption metric gives the frame";
        EXPECT_EQ(frame.left, expected.x);
        EXPECT_EQ(frame.top, expected.y);
        if (session == 1) {  // the user moves it once
            expected = {333, 111};
            SetWindowPos(panel(), nullptr, expected.x, expected.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
        destroy_panel_window();
    }
}

TEST_F(PanelTest, APanelStoredOffTheScreenOpensCentred)
{
    store_dword(pack(GetSystemMetrics(SM_CXSCREEN) - 10, 20));
    create_panel();
    RECT frame;
    GetWindowRect(panel(), &frame);
    EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXSCREEN) / 2 - panel_state.full_width / 2);
}
