/// @file child_process.h Runs a piece of a test in a child process: as an ordinary user where
/// root would pass every permission check, or where the child changes something (a mount, a
/// limit) that must not outlive it. The child answers with a text: empty when all was as
/// expected, otherwise what went wrong; "SKIP: ..." when the check cannot run here.
#pragma once

#include <functional>
#include <string>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

/// Runs `body` in a child process and returns its answer, or why the child gave none.
inline std::string InChild(const std::function<std::string()>& body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return "cannot make a pipe";
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return "cannot fork";
    }
    if (child == 0) {
        ::close(fds[0]);
        std::string answer;
        try {
            answer = body();
        } catch (...) {
            answer = "the child threw an exception";
        }
        size_t done = 0;
        while (done < answer.size()) {
            const ssize_t n = ::write(fds[1], answer.data() + done, answer.size() - done);
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        // No destructors, no test framework teardown: the parent owns all of that.
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string answer;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return "lost the child";
    if (!WIFEXITED(status))
        return "the child died (signal " + std::to_string(WIFSIGNALED(status) ? WTERMSIG(status) : 0) + ")";
    return answer;
}

/// The same as user and group "nobody" (65534) when the test runs as root.
inline std::string AsNobody(const std::function<std::string()>& body)
{
    return InChild([&body]() -> std::string {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            return "could not give up root";
        return body();
    });
}

/// Skips the test when the child said the check cannot run here; otherwise expects no complaint.
#define EXPECT_CHILD_FINE(answer)                   \
    do {                                            \
        const std::string childAnswer_ = (answer);  \
        if (childAnswer_.rfind("SKIP: ", 0) == 0)   \
            GTEST_SKIP() << childAnswer_.substr(6); \
        EXPECT_EQ(childAnswer_, "");                \
    } while (false)
