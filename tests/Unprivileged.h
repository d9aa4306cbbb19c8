#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

// Writes a coverage build's counters; absent from any other build. The forked child below
// leaves through _exit, which skips the exit handler that would write them.
extern "C" void __gcov_exit() __attribute__((weak));

// Runs a check as a user without privileges and returns the text it produced. The suite
// runs as root in CI, and root reads and writes everywhere, so permission failures can
// only be seen from an ordinary account: a forked child drops to "nobody" first. It keeps
// root as its saved user only to write a coverage build's counters once the check is done.
inline QString runUnprivileged(const std::function<QString()> &check)
{
    if (geteuid() != 0)
        return check();
    int channel[2];
    if (pipe(channel) != 0)
        return QStringLiteral("<pipe failed>");
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        constexpr uid_t kNobody = 65534;
        if (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0
            || setresuid(kNobody, kNobody, 0) != 0)
            _exit(3);
        const QByteArray text = check().toUtf8();
        const ssize_t written = write(channel[1], text.constData(), static_cast<size_t>(text.size()));
        if (__gcov_exit && seteuid(0) == 0)
            __gcov_exit();
        _exit(written == text.size() ? 0 : 4);
    }
    close(channel[1]);
    QByteArray text;
    char buffer[4096];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, n);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("<unprivileged child failed>");
    return QString::fromUtf8(text);
}
