#pragma once

// What the benchmarks that time whole processes share: running one with its time, CPU time and
// peak memory, reading its log, the median of repeated runs, and their command lines.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace kel_bench {

struct Timing {
  double wall = 0;
  double cpu = 0;         // user and system of the process and its threads
  double peakMiB = 0;     // largest resident set
};

// Runs `args` with standard input from `input`, output to /dev/null and errors to `log`. A failed
// run throws, since its time would mean nothing.
inline Timing Run(const std::vector<std::string>& args, const std::string& input, const std::string& log) {
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  if (error != 0) throw std::runtime_error("cannot start " + args[0] + ": " + std::strerror(error));
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) throw std::runtime_error("lost " + args[0]);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::ifstream errors(log);
    std::ostringstream text;
    text << errors.rdbuf();
    throw std::runtime_error(args[0] + " failed (status " + std::to_string(status) + "):\n" + text.str());
  }
  const auto cpu = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return {seconds, cpu(usage.ru_utime) + cpu(usage.ru_stime), static_cast<double>(usage.ru_maxrss) / 1024.0};
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Calls `take(option, value)` for each "--option value" pair of the command line; throws for an
// option without its value.
inline void ForEachOption(int argc, char** argv,
                          const std::function<void(const std::string& option, const std::string& value)>& take) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) throw std::runtime_error("unknown or incomplete option " + option);
    take(option, argv[++i]);
  }
}

}  // namespace kel_bench
