// Recording 20 s of 1280 x 720 at 30 fps: the virtual camera and FFmpeg's
// testsrc2 through our recorder, beside the ffmpeg command on the same
// source. Each run is a child process, so its CPU time is its own; the runs
// are repeated with the other core kept busy. Goals: no dropped frames, our
// recorder within 1.5 x the ffmpeg command's CPU.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Run {
    double cpuSeconds = 0;
    std::string output;
};

Run RunChild(const std::vector<std::string>& command)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        std::exit(1);
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        std::vector<char*> argv;
        for (const std::string& a : command)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    Run run;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        run.output.append(buffer, size_t(n));
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        run.output += "(failed)";
    return run;
}

std::string Figure(const std::string& output, const std::string& label)
{
    const size_t at = output.find(label);
    if (at == std::string::npos)
        return "-";
    const size_t end = output.find('\n', at);
    return output.substr(at + label.size(), end - at - label.size());
}

void Report(const char* name, const Run& run, double seconds)
{
    std::printf("%-44s captured %6s dropped %4s  CPU %6.2f s (%4.1f%% of a core)\n", name,
                Figure(run.output, "frames captured: ").c_str(), Figure(run.output, "frames dropped: ").c_str(),
                run.cpuSeconds, 100 * run.cpuSeconds / seconds);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s RAMPSCOPE-CLI SCRATCH-DIR\n", argv[0]);
        return 2;
    }
    const std::string cli = argv[1];
    const std::string dir = argv[2];
    const std::string seconds = "20";
    const std::string source = "testsrc2=size=1280x720:rate=30";
    for (const bool busy : {false, true}) {
        std::atomic<bool> stop = false;
        std::thread load;
        if (busy)
            load = std::thread([&] {
                volatile double x = 1;
                while (!stop)
                    x = x * 1.0000001 + 1e-9;
            });
        std::printf("%s\n", busy ? "With the other core kept busy:" : "Idle machine:");
        Report("virtual camera through our recorder",
               RunChild({cli, "record", "--size", "1280x720", "--rate", "30", "--seconds", seconds,
                         dir + "/virtual.avi"}),
               20);
        Report("testsrc2 through our recorder",
               RunChild({cli, "record", "--device", "lavfi:" + source, "--size", "1280x720", "--rate", "30",
                         "--seconds", seconds, dir + "/testsrc2.avi"}),
               20);
        Report("ffmpeg -re testsrc2 -c:v mjpeg -q:v 3",
               RunChild({"ffmpeg", "-v", "error", "-y", "-re", "-f", "lavfi", "-i", source, "-t", seconds, "-c:v",
                         "mjpeg", "-q:v", "3", dir + "/ffmpeg.avi"}),
               20);
        stop = true;
        if (load.joinable())
            load.join();
    }
    return 0;
}
