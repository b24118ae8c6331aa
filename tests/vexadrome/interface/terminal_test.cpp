// The terminal calculator as a person at a terminal sees it: vexadrome --calc
// on a pseudo-terminal, keys written to its master side, and what it writes
// played on a small screen model (cursor moves, wrapping at 80 columns).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "tests/support/child_process.h"

namespace {

constexpr int Columns = 80;

struct TerminalRun {
    std::string bytes;  // everything the program wrote
    int exitCode = -1;
};

// Runs vexadrome --calc on a new pseudo-terminal and types each chunk of
// keys, with a pause between chunks (so that a lone Escape is seen alone).
TerminalRun onTerminal(std::vector<std::string> const& chunks)
{
    TerminalRun run;
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        ADD_FAILURE() << "no pseudo-terminal";
        return run;
    }
    winsize size = {24, Columns, 0, 0};
    ::ioctl(master, TIOCSWINSZ, &size);
    std::string slave = ::ptsname(master), program = TestSupport::programBesideTests("vexadrome");
    pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        for (int fd = ::open(slave.c_str(), O_RDWR), target = 0; target < 3; ++target)
            ::dup2(fd, target);
        ::execl(program.c_str(), program.c_str(), "--calc", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::size_t chunk = 0, written = 0;
    bool prompted = false;  // keys typed before the editor starts would be flushed
    for (;;) {
        bool typing = prompted && chunk < chunks.size();
        pollfd fds = {master, static_cast<short>(POLLIN | (typing ? POLLOUT : 0)), 0};
        if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "the calculator did not end; it wrote:\n" << run.bytes;
            ::kill(child, SIGKILL);
            break;
        }
        ::poll(&fds, 1, 100);
        if (fds.revents & POLLIN) {
            char buffer[65536];
            ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                break;  // the program closed the terminal
            run.bytes.append(buffer, static_cast<std::size_t>(n));
            prompted = prompted || run.bytes.find("math> ") != std::string::npos;
        } else if (fds.revents & POLLOUT) {
            std::string const& keys = chunks[chunk];
            ssize_t n = ::write(master, keys.data() + written, keys.size() - written);
            written += n > 0 ? static_cast<std::size_t>(n) : 0;
            if (written == keys.size()) {
                ++chunk, written = 0;
                std::this_thread::sleep_for(std::chrono::milliseconds(250));
            }
        } else if (fds.revents) {
            break;
        }
    }
    ::close(master);
    int status = -1;
    ::waitpid(child, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// Plays the bytes on an unbounded screen of `Columns` columns and returns its
// rows, trailing blanks removed; a row filled to the margin continues on the next.
std::string screenText(std::string const& bytes)
{
    std::vector<std::string> rows(1);
    std::size_t row = 0, column = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\x1b' && i + 1 < bytes.size() && bytes[i + 1] == '[') {
            std::size_t end = bytes.find_first_of("ABCDHJm", i + 2);
            auto n = static_cast<std::size_t>(std::max(1, std::atoi(bytes.c_str() + i + 2)));
            column = std::min<std::size_t>(column, Columns - 1);  // a move leaves the margin
            switch (bytes[end]) {
            case 'A': row -= std::min(row, n); break;
            case 'B': row += n; break;
            case 'C': column = std::min<std::size_t>(Columns - 1, column + n); break;
            case 'D': column -= std::min(column, n); break;
            case 'H': row = column = 0; break;
            case 'J': rows.resize(row + 1), rows[row].resize(std::min(rows[row].size(), column));
            }
            i = end;
        } else if (bytes[i] == '\r') {
            column = 0;
        } else if (bytes[i] == '\n') {
            ++row;
        } else {
            if (column == Columns)  // the margin: the character goes to the next row
                ++row, column = 0;
            rows.resize(std::max(rows.size(), row + 1));
            rows[row].resize(Columns, ' ');
            rows[row][column++] = bytes[i];
        }
    }
    std::string text;
    for (auto& line : rows) {
        line.erase(line.find_last_not_of(' ') + 1);
        text += line + (line.size() == Columns ? "" : "\n");
    }
    return text;
}

}

TEST(TerminalCalculator, EditsTheLineAndRecallsTheHistory)
{
    // The keys end with Ctrl-D on the empty line, which ends the calculator; the screen ends with the lines and answers.
    struct Case { std::vector<std::string> keys; std::string screen; } const cases[] = {
        {{"12\x7f" "3\r\x04"}, "math> 13\nansw> 13\n"},
        {{"23\x1b[D\x1b[D" "1+\r\x04"}, "math> 1+23\nansw> 24\n"},
        {{"1+2\x1b[H" "3\x1b[F" "0\r\x04"}, "math> 31+20\nansw> 51\n"},
        {{"4\x01-\x05*2\r\x04"}, "math> -4*2\nansw> -8\n"},
        {{"123\x1b[H\x1b[3~\r\x04"}, "math> 23\nansw> 23\n"},
        {{"1+1\r2+2\r\x1b[A\x1b[A\x1b[B\r\x04"}, "math> 2+2\nansw> 4\n"},
        {{"99", "\x1b", "5\r\x04"}, "math> 5\nansw> 5\n"},
        {{"\r\r7\x04\r\x04"}, "math> 7\nansw> 7\n"},
    };
    for (auto const& c : cases) {
        TerminalRun run = onTerminal(c.keys);
        EXPECT_EQ(run.exitCode, 0);
        std::string screen = screenText(run.bytes);
        EXPECT_TRUE(screen.ends_with(c.screen + "math>\n")) << "typing " << c.keys[0] << " shows\n" << screen;
        EXPECT_NE(run.bytes.find("\x1b[1;34mansw> "), std::string::npos) << "the answer in blue";
    }
}

TEST(TerminalCalculator, RedrawsOnlyWhatChanged)
{
    // A long line typed in pieces and edited in the middle: what is written
    // grows with the line, not with its square, and the line still shows right.
    auto bytesFor = [](std::size_t terms) {
        std::string sum;
        for (std::size_t i = 0; i < terms; ++i)
            sum += i ? "+1" : "1";
        TerminalRun run = onTerminal({sum, "\x1b[H(", "\x1b[F)-1", "\x7f" "2", "\x1b", "\x04"});
        std::string before = screenText(run.bytes.substr(0, run.bytes.rfind("\x1b[J")));  // before Escape
        EXPECT_NE(before.find("math> (" + sum + ")-2\n"), std::string::npos) << terms << " terms";
        return static_cast<double>(run.bytes.size());
    };
    double once = bytesFor(1500), twice = bytesFor(3000);
    EXPECT_LT(twice, 2.2 * once + 200) << "bytes written for 3000 characters: " << once << ", for 6000: " << twice;
}
