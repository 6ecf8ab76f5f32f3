#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace athanor {

// A place where the desktop has mounted a removable or network volume: where backups go and
// updates come from, standing in for the drive letters of other systems.
struct Volume {
    std::filesystem::path path;
    std::string label;  // what the user recognises: the folder's name
    bool network = false;
};

// Where to look; tests give their own.
struct VolumeSources {
    std::filesystem::path mountTable = "/proc/self/mounts";
    std::vector<std::filesystem::path> mountParents;  // folders whose sub-folders are volumes
};

// The parents a desktop mounts under for `user`: /media/USER, /run/media/USER, /media and /mnt.
VolumeSources defaultVolumeSources(const std::string& user);

// The volumes found now: each existing sub-folder of a mount parent, plus every mount point of a
// network file system in the mount table. Sorted by path, each once; a missing or unreadable
// source is skipped, never an error.
std::vector<Volume> findVolumes(const VolumeSources& sources);

// A mount-table line's fields use octal escapes for blanks ("\040"): decoded here.
std::string decodeMountField(const std::string& field);

}  // namespace athanor
