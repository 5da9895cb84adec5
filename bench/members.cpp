// Member migration through the window: 100,000 members read into 超级列表框2 from MariaDB, and
// 1,000 uploaded by 按钮8 to a local back-end, beside a plain libcurl client that posts the same
// forms to the same back-end under the same connection policy. Ends with "name = value" lines.
// The reads are repeated and the two uploads take turns, round after round (see Rounds.h); each
// figure comes from the median of its rounds. A read waits on the database server, another process:
// it is timed on the wall clock. The uploads are a chain of hand-overs between the client's threads
// and the back-end's, and on a busy machine every hand-over also waits for a processor, more often
// for the window's client, with more threads, than for the plain one: the wall clock would measure the
// machine's load. So they run with every thread of this process, the back-end's included, on one
// CPU, as the HTTPS benchmarks do (see support/OneCpu.h), timed on the process's processor clock:
// on a quiet machine that is their wall time, elsewhere it leaves out the slices other programs took.

#include <curl/curl.h>
#include <sched.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Rounds.h"
#include "app/ControlNames.h"
#include "app/GbkTableModel.h"
#include "app/MainWindow.h"
#include "app/MemberPage.h"
#include "backend-stub/BackendStub.h"
#include "backend-stub/MemberTables.h"
#include "backend-stub/ThrowawayMariaDb.h"
#include "members/MemberUploadBody.h"

namespace {

using Clock = std::chrono::steady_clock;
using korvel::tools::SeedMember;

constexpr int kReadMembers = 100000;
// Uploads of a thousand members, thirty or more of each client in turn: a round lasts a tenth of a
// second or so, short beside the swings in what else the machine runs, so both clients' rounds meet
// the same mix.
constexpr int kUploadMembers = 1000;
constexpr int kUploadRounds = 30;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void Fail(const std::string& why)
{
    std::fprintf(stderr, "korvel-bench-members: %s\n", why.c_str());
    std::exit(1);
}

// Account 1 holds the read, account 2 the upload; ids of account 2 follow those of account 1.
void SeedDatabase(int port, const std::string& name)
{
    MYSQL* db = mysql_init(nullptr);
    if (!mysql_real_connect(db, "127.0.0.1", "root", nullptr, nullptr, port, nullptr, 0) ||
        !korvel::tools::RunSql(db, "drop database if exists " + name) ||
        !korvel::tools::RunSql(db, "create database " + name + " character set utf8") ||
        mysql_select_db(db, name.c_str()) || !korvel::tools::CreateMemberTables052(db)) {
        Fail(std::string("cannot prepare the database: ") + mysql_error(db));
    }
    std::vector<SeedMember> members = korvel::tools::NumberedMembers(kReadMembers, 1);
    for (SeedMember m : korvel::tools::NumberedMembers(kUploadMembers, 2)) {
        m.id += kReadMembers;
        if (m.shareid && *m.shareid != 0) {
            *m.shareid += kReadMembers;
        }
        members.push_back(std::move(m));
    }
    if (!korvel::tools::SeedMembers052(db, members)) {
        Fail(std::string("cannot seed the members: ") + mysql_error(db));
    }
    mysql_close(db);
}

void DropDatabase(int port, const std::string& name)
{
    MYSQL* db = mysql_init(nullptr);
    if (mysql_real_connect(db, "127.0.0.1", "root", nullptr, nullptr, port, nullptr, 0)) {
        // Tidying up after the measurement: a database left behind goes with the throwaway server.
        static_cast<void>(korvel::tools::RunSql(db, "drop database if exists " + name));
    }
    mysql_close(db);
}

// Runs the window's event loop, as a user's session would, until `done` holds; the loop sleeps
// while nothing is pending, so the workers keep the processor.
void WaitUntil(const std::function<bool()>& done)
{
    QEventLoop loop;
    QTimer poll;
    poll.callOnTimeout([&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start(2);
    loop.exec();
}

// Every thread of this process, and every thread they start later, on the calling thread's CPU.
bool EveryThreadOnOneCpu()
{
    const int cpu = sched_getcpu();
    if (cpu < 0) {
        return false;
    }
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    bool all = true;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        const auto thread = static_cast<pid_t>(std::stol(task.path().filename().string()));
        all = sched_setaffinity(thread, sizeof set, &set) == 0 && all;
    }
    return all;
}

double OnProcessClock(const std::function<void()>& work)
{
    const double start = korvel::bench::Seconds(korvel::bench::Timing::ProcessCpu);
    work();
    return korvel::bench::Seconds(korvel::bench::Timing::ProcessCpu) - start;
}

void Type(korvel::MainWindow& window, const char* field, const std::string& text)
{
    window.control<QLineEdit>(field)->setText(QString::fromStdString(text));
}

double TimeRead(korvel::MainWindow& window, korvel::MemberPage& page)
{
    const auto start = Clock::now();
    window.control<QPushButton>(korvel::names::ReadButton)->click();
    WaitUntil([&] { return !page.session().readerAlive && page.session().workersDone(); });
    window.memberList().flush();
    return Seconds(start);
}

double TimeUpload(korvel::MainWindow& window, korvel::MemberPage& page,
                  const korvel::tools::BackendStub& backend)
{
    const int before = backend.requestCount();
    const auto start = Clock::now();
    window.control<QPushButton>(korvel::names::UploadButton)->click();
    WaitUntil([&] { return !page.session().uploadRunning; });
    const double seconds = Seconds(start);
    if (backend.requestCount() - before != kUploadMembers) {
        Fail("the back-end received " + std::to_string(backend.requestCount() - before) + " members");
    }
    return seconds;
}

size_t IgnoreBody(char*, size_t size, size_t count, void*)
{
    return size * count;
}

// A body handed to libcurl piece by piece and never rewound: libcurl's only way of not resending a
// request by itself when a kept connection drops before the reply (it fails instead).
struct OnceBody {
    std::string_view rest;
};

size_t ReadBody(char* into, size_t size, size_t count, void* user)
{
    auto* body = static_cast<OnceBody*>(user);
    const size_t n = std::min(size * count, body->rest.size());
    std::memcpy(into, body->rest.data(), n);
    body->rest.remove_prefix(n);
    return n;
}

int RefuseRewind(void*, curl_off_t, int)
{
    return CURL_SEEKFUNC_FAIL;
}

// The same forms through one libcurl handle under the window's connection policy: a connection is
// kept from one member to the next, but one idle for a second or more is not used again (the
// back-end may be closing it just then), so the next member opens a fresh one; and no body is ever
// sent twice. Here the members follow each other at once: the first opens the connection, the
// rest share it.
double TimeRawUploads(const std::string& host, const std::vector<std::string>& bodies)
{
    CURL* curl = curl_easy_init();
    curl_slist* headers = curl_slist_append(nullptr, "Expect:");
    const std::string url = "http://" + host + "/app/index.php";
    OnceBody once;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, IgnoreBody);
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, ReadBody);
    curl_easy_setopt(curl, CURLOPT_READDATA, &once);
    curl_easy_setopt(curl, CURLOPT_SEEKFUNCTION, RefuseRewind);
    curl_easy_setopt(curl, CURLOPT_MAXAGE_CONN, 0L);
    const auto start = Clock::now();
    for (const std::string& body : bodies) {
        once.rest = body;
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        if (curl_easy_perform(curl) != CURLE_OK) {
            Fail("the plain libcurl client could not post");
        }
    }
    const double seconds = Seconds(start);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return seconds;
}

}  // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    korvel::tools::BackendStub backend("admin", "secret");
    backend.setRecording(false);
    backend.start();
    setenv("KORVEL_BACKEND_HOST", backend.host().c_str(), 1);

    korvel::tools::ThrowawayMariaDb server;
    int port = 0;
    if (const char* given = std::getenv("KORVEL_TEST_MYSQL_PORT")) {
        port = std::atoi(given);
    } else if (server.start()) {
        port = server.port();
    } else {
        Fail(server.error());
    }
    const std::string database = "korvel_bench_members_" + std::to_string(getpid());
    SeedDatabase(port, database);

    QApplication app(argc, argv);
    std::optional<std::vector<korvel::bench::Series>> reads, uploads;
    int readRows = 0;
    bool oneCpu = false;
    {
        korvel::MainWindow window;
        window.show();
        auto* page = window.findChild<korvel::MemberPage*>();
        if (page == nullptr) {
            Fail("the window has no member page");
        }
        Type(window, korvel::names::DatabaseName, database);
        Type(window, korvel::names::DatabasePort, std::to_string(port));
        Type(window, korvel::names::BackendUser, "admin");
        Type(window, korvel::names::BackendPassword, "secret");
        window.control<QPushButton>(korvel::names::ConnectButton)->click();
        WaitUntil([&] { return !page->session().connecting; });
        if (!page->session().connection().connected()) {
            Fail("the member page could not connect");
        }

        reads = korvel::bench::Interleave({[&] {
            const double seconds = TimeRead(window, *page);
            readRows = window.memberList().rows();
            if (readRows != kReadMembers) {
                Fail("read " + std::to_string(readRows) + " members");
            }
            return seconds;
        }});

        Type(window, korvel::names::AccountId, "2");
        TimeRead(window, *page);
        std::vector<std::string> bodies;
        for (const korvel::MemberBatch& batch : page->screen().members()) {
            for (const korvel::MemberRecord& member : *batch) {
                bodies.push_back(korvel::BuildMemberUploadBody(member, "admin", "secret", "1"));
            }
        }
        oneCpu = EveryThreadOnOneCpu();
        uploads = korvel::bench::Interleave(
            {[&] { return OnProcessClock([&] { TimeUpload(window, *page, backend); }); },
             [&] { return OnProcessClock([&] { TimeRawUploads(backend.host(), bodies); }); }},
            {.minSecondsPerSide = 0.5, .minRounds = kUploadRounds});
    }
    DropDatabase(port, database);

    if (!reads || !uploads) {
        Fail("a read or an upload failed");
    }
    const korvel::bench::Series& read = (*reads)[0];
    const korvel::bench::Series& upload = (*uploads)[0];
    const korvel::bench::Series& raw = (*uploads)[1];
    std::printf("member_read_rows = %d\n", readRows);
    std::printf("member_read_rounds = %zu\nmember_upload_rounds = %zu\n", read.rounds(), upload.rounds());
    korvel::bench::PrintFigure("member_read_seconds", read.median(), 3);
    korvel::bench::PrintGoalFigure("member_read_rows_per_s", readRows / read.median(), 0,
                                   korvel::bench::EachRound(read, [&](double s) { return readRows / s; }));
    std::printf("member_upload_members = %d\n", kUploadMembers);
    std::printf("member_upload_on_one_cpu = %d\n", oneCpu ? 1 : 0);
    korvel::bench::PrintFigure("member_upload_per_s", kUploadMembers / upload.median(), 0);
    korvel::bench::PrintFigure("raw_libcurl_upload_per_s", kUploadMembers / raw.median(), 0);
    korvel::bench::PrintGoalFigure("member_upload_vs_raw_ratio", korvel::bench::RatioOfMedians(raw, upload),
                                   3, korvel::bench::Quotients(raw, upload));
    return 0;
}
