#pragma once
// A small knowledge base written into a temporary program folder.
#include "foundations/Collation.h"
#include "foundations/DataRoot.h"
#include "foundations/FolderLock.h"
#include "knowledge/KnowledgeRecords.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>

#include <unistd.h>
#include <string>
#include <vector>

namespace athanor::test {

inline RemedyRecord remedy(std::string name, std::string indication, std::string primary = "", std::string zodiac = "",
                           std::string secondary = "") {
    RemedyRecord r;
    r.name = std::move(name);
    r.setIndication(indication);
    r.primarySignature = std::move(primary);
    r.secondarySignature = std::move(secondary);
    r.zodiacSignature = std::move(zodiac);
    return r;
}

inline TherapyRecord therapy(std::string pathology, std::string remedyName, std::string posology = "") {
    TherapyRecord t;
    t.pathology = std::move(pathology);
    t.remedy = std::move(remedyName);
    t.posology = std::move(posology);
    return t;
}

inline PlantSymptomRecord plantSymptom(std::string plant, std::string symptom, std::string primary = "",
                                       std::string zodiac = "", std::string authors = "") {
    PlantSymptomRecord p;
    p.plant = std::move(plant);
    p.symptom = std::move(symptom);
    p.primarySignature = std::move(primary);
    p.zodiacSignature = std::move(zodiac);
    p.authors = std::move(authors);
    return p;
}

// Writes records as a record file, record 0 first.
template <class R>
void writeRecords(const std::filesystem::path& path, const std::vector<R>& records) {
    std::filesystem::create_directories(path.parent_path());
    KnowledgeFile<R> f(path, RecordFile::Mode::Create);
    for (const auto& r : records) f.append(r);
}

// A temporary folder in memory when the system has one (/dev/shm), so that the many
// flushes to disk of the fault tests cost nothing; otherwise in the temporary folder.
class ScratchDir {
public:
    ScratchDir() {
        std::error_code ec;
        const std::filesystem::path shm = "/dev/shm";
        const auto base = std::filesystem::is_directory(shm, ec) && ::access(shm.c_str(), W_OK) == 0
                              ? shm
                              : std::filesystem::temp_directory_path();
        std::random_device rd;
        path_ = base / ("athanor-kb-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A program folder with the three record files; each vector holds records 1 on (record
// 0 is written blank).
class KbFolder {
public:
    KbFolder(std::vector<RemedyRecord> remedies, std::vector<TherapyRecord> therapies = {},
             std::vector<PlantSymptomRecord> plants = {}) {
        setCollationLocale("es");
        remedies.insert(remedies.begin(), RemedyRecord{});
        therapies.insert(therapies.begin(), TherapyRecord{});
        plants.insert(plants.begin(), PlantSymptomRecord{});
        writeRecords(folder() / "OpzioneH" / "DBmain.rnd", remedies);
        writeRecords(folder() / "OpzioneH" / "Repertorio.rnd", therapies);
        writeRecords(folder() / "OpzioneS" / "DataQvl.rnd", plants);
        std::filesystem::create_directories(folder() / "FileDum");
    }

    DataRoot root() const { return DataRoot(dir_->path()); }
    std::filesystem::path path(const std::string& relative) const { return root().resolve(relative); }
    const std::filesystem::path& folder() const { return dir_->path(); }

    // Every file below the folder with its bytes, to see that nothing changed. The writers'
    // lock file is left out: taking the lock creates it, and it holds no data.
    std::vector<std::pair<std::string, std::string>> snapshot() const {
        std::vector<std::pair<std::string, std::string>> files;
        for (const auto& e : std::filesystem::recursive_directory_iterator(folder()))
            if (e.is_regular_file() && e.path().filename() != FolderLock::kFileName)
                files.emplace_back(std::filesystem::relative(e.path(), folder()).string(), TempDir::read(e.path()));
        std::sort(files.begin(), files.end());
        return files;
    }

private:
    std::unique_ptr<ScratchDir> dir_ = std::make_unique<ScratchDir>();
};

}  // namespace athanor::test
