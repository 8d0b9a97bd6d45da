// Client configuration through the real executable: the menu command, the
// dialog filled from the service's command line, a change saved to the
// registry and rcsetup.ini, and the failures the user must be told of.
#include "resources/resource.h"
#include "support/station_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace rctest;

namespace {

std::wstring ItemText(HWND dialog, int id) {
    wchar_t buf[1024] = L"";
    GetDlgItemTextW(dialog, id, buf, 1024);
    return buf;
}

bool ItemEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void ClickItem(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The text of a message box of the process with the given caption.
std::wstring BoxText(HWND box) { return ItemText(box, 0xFFFF); }

HWND OpenClient(Configurator& app) {
    HWND main = app.MainWindow();
    if (!main) return nullptr;
    PostMessageW(main, WM_COMMAND, IDM_CLIENT, 0);
    return WaitForDialog(app.ProcessId(), L"Client Configuration");
}

TEST(ClientEndToEnd, ChangedNameIsSavedToTheServiceAndTheSerialLinkMemory) {
    Station station;
    WritePrivateProfileStringW(L"Client", nullptr, nullptr, L"rcsetup.ini");
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L""));
    HWND dialog = OpenClient(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_CL_NAME), L"STATION1");
    EXPECT_EQ(ItemText(dialog, IDC_CL_PASSWORD), L"4211");
    EXPECT_EQ(ItemText(dialog, IDC_CL_COMMAND_LINE), L"STATION1 4211 /UNB /A0 /I /K /T15 ");
    Capture(dialog, L"client-default");

    SetDlgItemTextW(dialog, IDC_CL_NAME, L"FRONTDESK");
    EXPECT_EQ(ItemText(dialog, IDC_CL_COMMAND_LINE), L"FRONTDESK 4211 /UNB /A0 /I /K /T15 ");
    ClickItem(dialog, IDOK);
    HWND info = WaitForDialog(app.ProcessId(), L"Information");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(BoxText(info),
              L"STATN32 entry in the registry successfully changed.\n\nFor the changes to take effect Windows NT "
              L"should be restarted.  Alternatively, you can stop and restart the STATN32 service from Control "
              L"Panel - Services.");
    PostMessageW(info, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 100 && IsWindow(dialog); ++i) Sleep(50);
    EXPECT_FALSE(IsWindow(dialog));

    EXPECT_EQ(ReadImagePath(), station.Directory() + L"\\STATN32.EXE /* FRONTDESK 4211 /UNB /A0 /I /K /T15 ");
    // No remembered section: Serial reads 0, which chooses the Modem button.
    EXPECT_EQ(ReadIni(L"rcsetup.ini", L"Client", L"Serial"), L"0");
    EXPECT_EQ(ReadIni(L"rcsetup.ini", L"Client", L"BaudRate"), L"5");
    EXPECT_EQ(ReadIni(L"rcsetup.ini", L"Client", L"ComPort"), L"0");
    EXPECT_EQ(ReadIni(L"rcsetup.ini", L"Client", L"Modem"), L"0");
    EXPECT_EQ(ReadIni(L"rcsetup.ini", L"Client", L"Password"), L"");
    EXPECT_EQ(ReadIni(L"rcsetup.ini", L"Client", L"Dialback"), L"0");
    EXPECT_EQ(ReadIni(L"rcsetup.ini", L"Client", L"DialbackFile"), L"");
    PostMessageW(app.MainWindow(), WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(ClientEndToEnd, QuietSwitchSavesWithoutTheInformationBox) {
    Station station;
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L"/I"));
    HWND dialog = OpenClient(app);
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, IDC_CL_NAME, L"QUIET");
    ClickItem(dialog, IDOK);
    for (int i = 0; i < 100 && IsWindow(dialog); ++i) Sleep(50);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(WaitForDialog(app.ProcessId(), L"Information", 500), nullptr);
    EXPECT_EQ(ReadImagePath(), station.Directory() + L"\\STATN32.EXE /* QUIET 4211 /UNB /A0 /I /K /T15 ");
}

TEST(ClientEndToEnd, MissingServiceKeyAndOverlongValueAreReportedAndCloseTheDialog) {
    struct Case {
        bool key;
        std::wstring value;
        const wchar_t* message;
    } cases[] = {
        {false, L"", L"Client not installed"},
        {true, L"C:\\Quorvel\\Brennix\\STATN32.EXE /* " + std::wstring(280, L'A'),
         L"Error 234 reading registry value ImagePath"},
    };
    for (const auto& c : cases) {
        StationOptions options;
        options.serviceKey = c.key;
        options.imagePath = c.value;
        Station station(options);
        Configurator app;
        ASSERT_TRUE(app.Start(station.Exe(), L""));
        ASSERT_NE(app.MainWindow(), nullptr);
        PostMessageW(app.MainWindow(), WM_COMMAND, IDM_CLIENT, 0);
        HWND box = WaitForDialog(app.ProcessId(), L"Configurator ");
        ASSERT_NE(box, nullptr) << c.message;
        EXPECT_EQ(BoxText(box), c.message);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        // The dialog closes at once: it never shows.
        EXPECT_EQ(WaitForDialog(app.ProcessId(), L"Client Configuration", 1000), nullptr);
        EXPECT_EQ(ReadImagePath(), c.key ? c.value : L"\x01missing");
    }
}

TEST(ClientEndToEnd, NoUsableTransportOpensTheReportAndKeepsOkDisabled) {
    StationOptions options;
    options.modules = {L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"};  // Control modules only
    Station station(options);
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L""));
    ASSERT_NE(app.MainWindow(), nullptr);
    PostMessageW(app.MainWindow(), WM_COMMAND, IDM_CLIENT, 0);
    HWND report = WaitForDialog(app.ProcessId(), L"Client transports available");
    ASSERT_NE(report, nullptr);
    EXPECT_NE(ItemText(report, IDC_TR_TCPIP_STATUS).find(L"QRV DLL (SXTCP32.DLL) not installed"), std::wstring::npos);
    Capture(report, L"transports-client-none");
    PostMessageW(report, WM_COMMAND, IDOK, 0);
    HWND dialog = WaitForDialog(app.ProcessId(), L"Client Configuration");
    ASSERT_NE(dialog, nullptr);
    for (int i = 0; i < 20 && IsWindow(report); ++i) Sleep(50);
    EXPECT_FALSE(ItemEnabled(dialog, IDOK));
    EXPECT_FALSE(ItemEnabled(dialog, IDC_CL_TRANSPORT));
    SetDlgItemTextW(dialog, IDC_CL_NAME, L"X");
    EXPECT_FALSE(ItemEnabled(dialog, IDOK));
}

TEST(ClientEndToEnd, ScreenshotsOfTheClassroomDialog) {
    StationOptions options;
    options.classroom = true;
    options.imagePath = L"C:\\Quorvel\\Brennix\\STATN32.EXE /* DESK7 4211 /UTC /H512 /L2 /I ";
    Station station(options);
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L""));
    HWND dialog = OpenClient(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ItemText(dialog, IDC_CL_CACHE), L"512");
    // The classroom dialog shows name, transport, adapter and cache size;
    // the held lookup delay is carried over, the options are not.
    EXPECT_EQ(ItemText(dialog, IDC_CL_COMMAND_LINE), L"DESK7 /UTC /L2 /H512 ");
    Capture(dialog, L"client-tutor");
    ClickItem(dialog, IDCANCEL);
}

// How long the Client Configuration dialog takes to open, from the menu
// command until it is shown, beside the About box in the same run. Printed
// for the record; not a timed test.
TEST(ClientEndToEnd, OpeningTimesAreMeasured) {
    Station station;
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L""));
    HWND main = app.MainWindow();
    ASSERT_NE(main, nullptr);
    auto measure = [&](UINT command, const wchar_t* title, std::vector<double>* times) {
        LARGE_INTEGER f, a, b;
        QueryPerformanceFrequency(&f);
        QueryPerformanceCounter(&a);
        PostMessageW(main, WM_COMMAND, command, 0);
        HWND d = nullptr;
        for (int i = 0; i < 20000 && !d; ++i) {
            d = WaitForDialog(app.ProcessId(), title, 0);
            if (!d) Sleep(1);
        }
        QueryPerformanceCounter(&b);
        if (!d) return false;
        times->push_back(1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart));
        PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 200 && IsWindow(d); ++i) Sleep(5);
        return true;
    };
    std::vector<double> client, about;
    for (int run = 0; run < 7; ++run) {
        ASSERT_TRUE(measure(IDM_CLIENT, L"Client Configuration", &client));
        ASSERT_TRUE(measure(IDM_ABOUT, L"About Configurator", &about));
    }
    std::sort(client.begin(), client.end());
    std::sort(about.begin(), about.end());
    printf("opening times (median of %zu): Client Configuration %.1f ms, About %.1f ms\n", client.size(),
           client[client.size() / 2], about[about.size() / 2]);
}

}  // namespace
