// A stand-in for the external updater: records that it ran (its process id and the job file it
// found beside itself) in updater-ran.txt next to itself, then sleeps for
// SWZ_STANDIN_SLEEP_MS milliseconds (0 when unset) and ends.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#ifdef _WIN32
#  include <process.h>
#  define getpid _getpid
#else
#  include <unistd.h>
#endif

int main(int argc, char *argv[])
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::absolute(fs::path(argv[0])).parent_path();

    std::ostringstream job;
    if (std::ifstream in{folder / "Ethernet_Update.xml", std::ios::binary})
        job << in.rdbuf();

    {
        std::ofstream record(folder / "updater-ran.txt.part", std::ios::binary);
        record << "pid " << getpid() << "\nargs " << (argc - 1) << "\n" << job.str();
    }
    fs::rename(folder / "updater-ran.txt.part", folder / "updater-ran.txt");

    const char *sleep = std::getenv("SWZ_STANDIN_SLEEP_MS");
    if (sleep)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(sleep)));
    return 3; // an exit code nobody may look at
}
