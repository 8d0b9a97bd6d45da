// Cost of reading and writing back the two option strings: the Client
// Configuration dialog recomposes on every keystroke, and Control Icon
// Maintenance parses every item of a group.
#include <benchmark/benchmark.h>

#include <string>

#include "client/client_options.h"
#include "control/control_options.h"
#include "resources/resource.h"

namespace {

rc::ClientLists ClientListsForBench() {
    rc::ClientLists l;
    l.ports = {L"COM1", L"COM2", L"COM3", L"COM4"};
    l.bauds = {L"1200", L"2400", L"4800", L"9600", L"14400", L"19200", L"38400", L"57600", L"115200"};
    for (int i = 0; i < 40; ++i) l.modems.push_back(L"Modem number " + std::to_wstring(i));
    l.modems.push_back(L"Hayes Accura 56K");
    l.adapters = {0, 1, 2, 3, 4, 5, 6, 7};
    l.transports = {IDS_IPX, IDS_NETBIOS, IDS_TCPIP};
    return l;
}

void BM_ClientOptionsParseCompose(benchmark::State& state) {
    const rc::ClientLists lists = ClientListsForBench();
    const std::wstring text =
        L"BOB 4711 /UNB /A3 /I /F /K /W /P /Z /O /Y /R7 /X99  /c /C123 /L3 /N2 /H512 /G101 /1 /T10 "
        L"/BRIDGE COM2 /B9600 /MHayes 55 /T2  /D";
    for (auto _ : state) {
        rc::ClientSettings settings;
        bool ok = rc::ParseClientOptions(text, settings, lists, rc::UpperChar);
        std::wstring composed = rc::ComposeClientOptions(settings, lists, true, false);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(composed.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size() * sizeof(wchar_t)));
}
BENCHMARK(BM_ClientOptionsParseCompose);

void BM_ControlOptionsParseCompose(benchmark::State& state) {
    rc::ControlLists lists;
    lists.adapters = {0, 1, 2, 3, 4, 5, 6, 7};
    lists.transports = {IDS_IPX, IDS_NETBIOS, IDS_TCPIP};
    const std::wstring line =
        L"C:\\BRX\\VIEWDESK.EXE BOB /UNB /A3 /Mmsg.txt /O /R8 /H512 /CHOST /S10 /D555 /REMOTE ";
    for (auto _ : state) {
        rc::ControlSettings settings;
        bool present = rc::ParseControlOptions(line, settings, lists, rc::UpperChar);
        rc::ComposedControl composed = rc::ComposeControlOptions(settings, lists, true);
        benchmark::DoNotOptimize(present);
        benchmark::DoNotOptimize(composed.text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(line.size() * sizeof(wchar_t)));
}
BENCHMARK(BM_ControlOptionsParseCompose);

}  // namespace
