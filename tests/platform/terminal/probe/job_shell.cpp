// Runs a program as the foreground job of its terminal, the way an interactive shell does, so
// that Ctrl+Z can stop it: a terminal's stop signals are discarded for a process group without a
// parent in the session. When the job stops, prints "[stopped]", waits for one byte from the
// terminal, gives the terminal back to the job and continues it. Exits with the job's status.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        static_cast<void>(std::fputs("usage: job_shell PROGRAM [ARGS...]\n", stderr));
        return 2;
    }
    // Taking the terminal back from a job must not stop the shell itself.
    static_cast<void>(signal(SIGTTOU, SIG_IGN));
    const pid_t job = fork();
    if (job < 0) {
        return 2;
    }
    if (job == 0) {
        setpgid(0, 0);
        tcsetpgrp(STDIN_FILENO, getpgrp());
        static_cast<void>(signal(SIGTTOU, SIG_DFL));
        execv(argv[1], argv + 1);
        _exit(127);
    }
    setpgid(job, job);
    tcsetpgrp(STDIN_FILENO, job);
    for (;;) {
        int status = 0;
        if (waitpid(job, &status, WUNTRACED) != job) {
            return 2;
        }
        if (WIFEXITED(status)) {
            return WEXITSTATUS(status);
        }
        if (WIFSIGNALED(status)) {
            return 128 + WTERMSIG(status);
        }
        if (WIFSTOPPED(status)) {
            tcsetpgrp(STDIN_FILENO, getpgrp());
            static_cast<void>(std::fputs("[stopped]\r\n", stdout));
            static_cast<void>(std::fflush(stdout));
            char byte = 0;
            if (read(STDIN_FILENO, &byte, 1) != 1) {
                return 2;
            }
            tcsetpgrp(STDIN_FILENO, job);
            kill(-job, SIGCONT);
        }
    }
}
