// Fails every file call of one operation in turn. The operation runs once cleanly under
// the shim, which counts its calls (T); then, for n = 1..T, on a fresh copy of the same
// folder with call n failing. After each run the operation must have reported the error
// (exit 3) and every file must be byte for byte its old version or the one the clean run
// wrote; the next start of the program must read the folder and leave it so. A run that
// reports success despite the failure must have written exactly the clean run's files
// (the failure was one the operation may let pass, as the flush of a folder); those are
// listed.
//
//   fault-runner DRIVER SHIM OP [ENOSPC|EIO]
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Snapshot = std::map<std::string, std::string>;

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Snapshot snapshot(const fs::path& folder) {
    Snapshot files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[fs::relative(e.path(), folder).string()] = readAll(e.path());
    return files;
}

struct Run {
    int status = -1;  // exit code, or 128 + signal
    std::string err;
};

Run spawn(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv, const fs::path& errFile) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (const auto& e : extraEnv) ::putenv(const_cast<char*>(e.c_str()));
        std::FILE* err = std::freopen(errFile.c_str(), "w", stderr);
        if (!err) ::_exit(127);
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int st = 0;
    ::waitpid(pid, &st, 0);
    Run r;
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    r.err = readAll(errFile);
    return r;
}

void copyFolder(const fs::path& from, const fs::path& to) {
    fs::remove_all(to);
    fs::copy(from, to, fs::copy_options::recursive);
}

// Files that are neither old nor new; empty when the folder is consistent.
std::vector<std::string> mixedFiles(const Snapshot& now, const Snapshot& before, const Snapshot& after) {
    std::set<std::string> names;
    for (const auto* s : {&now, &before, &after})
        for (const auto& [name, bytes] : *s) names.insert(name);
    std::vector<std::string> bad;
    for (const auto& name : names) {
        const auto n = now.find(name), b = before.find(name), a = after.find(name);
        const bool isOld = (n == now.end()) ? b == before.end() : b != before.end() && b->second == n->second;
        const bool isNew = (n == now.end()) ? a == after.end() : a != after.end() && a->second == n->second;
        if (!isOld && !isNew) {
            std::string why = n == now.end() ? " (missing)" : (b == before.end() && a == after.end()) ? " (extra)" : "";
            bad.push_back(name + why);
        }
    }
    return bad;
}

std::string firstLine(const std::string& text, const std::string& prefix) {
    const auto at = text.find(prefix);
    if (at == std::string::npos) return {};
    return text.substr(at, text.find('\n', at) - at);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: fault-runner DRIVER SHIM OP [ENOSPC|EIO]\n";
        return 2;
    }
    const std::string driver = fs::absolute(argv[1]).string();
    const std::string shim = fs::absolute(argv[2]).string();
    const std::string op = argv[3];
    const std::string errnoName = argc > 4 ? argv[4] : "ENOSPC";

    // In memory when the system has it: every step of every run flushes to disk.
    std::error_code ec;
    const fs::path shm = "/dev/shm";
    const fs::path tmp = fs::is_directory(shm, ec) && ::access(shm.c_str(), W_OK) == 0 ? shm : fs::temp_directory_path();
    std::random_device rd;
    const fs::path scratch = tmp / ("athanor-faults-" + op + "-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(scratch);
    struct Cleanup {
        fs::path p;
        ~Cleanup() {
            std::error_code e;
            fs::remove_all(p, e);
        }
    } cleanup{scratch};

    const fs::path corr = scratch / "corr", base = scratch / "base", work = scratch / "work";
    const fs::path errFile = scratch / "stderr", countFile = scratch / "count";
    auto underShim = [&](long n) {
        return std::vector<std::string>{"LD_PRELOAD=" + shim, "FAILSHIM_DIR=" + work.string(),
                                        "FAILSHIM_N=" + std::to_string(n), "FAILSHIM_ERRNO=" + errnoName,
                                        "FAILSHIM_COUNT=" + countFile.string()};
    };
    auto runOp = [&](long n) { return spawn({driver, "run", op, work.string(), corr.string()}, underShim(n), errFile); };

    if (const Run r = spawn({driver, "prepare", op, base.string(), corr.string()}, {}, errFile); r.status != 0) {
        std::cerr << op << ": prepare failed (" << r.status << "): " << r.err;
        return 1;
    }
    const Snapshot before = snapshot(base);

    copyFolder(base, work);
    if (const Run r = runOp(0); r.status != 0) {
        std::cerr << op << ": the clean run failed (" << r.status << "): " << r.err;
        return 1;
    }
    const long total = std::stol(readAll(countFile));
    const Snapshot after = snapshot(work);
    if (after == before) {
        std::cerr << op << ": the clean run changed nothing\n";
        return 1;
    }
    copyFolder(base, work);
    runOp(0);
    if (const Snapshot again = snapshot(work); again != after) {
        std::cerr << op << ": two clean runs wrote different files:";
        for (const auto& f : mixedFiles(again, after, after)) std::cerr << ' ' << f;
        std::cerr << '\n';
        return 1;
    }

    int faults = 0, errors = 0;
    std::vector<std::string> tolerated;
    for (long n = 1; n <= total; ++n) {
        copyFolder(base, work);
        const Run r = runOp(n);
        const std::string failed = firstLine(r.err, "failshim:");
        auto fault = [&](const std::string& what) {
            ++faults;
            std::cerr << op << " (" << errnoName << "): " << failed << ": " << what << '\n';
        };
        if (r.status == 0) {
            const auto bad = mixedFiles(snapshot(work), after, after);
            if (bad.empty()) tolerated.push_back(failed);
            else fault("reported success but " + bad.front() + " is not what the clean run wrote");
            continue;
        }
        if (r.status != 3) {
            fault("exit " + std::to_string(r.status) + ", not a reported file error: " + r.err);
            continue;
        }
        ++errors;
        for (const auto& f : mixedFiles(snapshot(work), before, after)) fault(f + " is neither old nor new");
        const Run next = spawn({driver, "reopen", op, work.string()}, {}, errFile);
        if (next.status != 0) fault("the next start cannot read the folder: " + next.err);
        for (const auto& f : mixedFiles(snapshot(work), before, after))
            fault("after the next start, " + f + " is neither old nor new");
    }
    std::cout << op << " (" << errnoName << "): " << total << " failure points, " << errors << " reported as errors, "
              << tolerated.size() << " let pass with the clean run's result\n";
    for (const auto& t : tolerated) std::cout << "  let pass: " << t << '\n';
    return faults == 0 ? 0 : 1;
}
