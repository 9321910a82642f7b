#pragma once
#include <filesystem>
#include <string>

namespace mirado {

// The file a new container is written into until it is whole, whatever the container's format.
//
// On Linux it is an unnamed file (O_TMPFILE) in the container's folder, so a process killed in the
// middle (SIGKILL, power loss) leaves nothing behind; `commit` links it into place. Where the file
// system refuses unnamed files it is a hidden ".mirado-partial-<pid>-<n>.pmpk" beside the container,
// renamed into place; `removeStaleTemporaries` clears those that a killed run left.
//
// A container that is replaced keeps its mode and, where the system allows it, its owner; a symbolic
// link in its place is written through, not replaced.
class ContainerOutputFile {
public:
    ContainerOutputFile() = default;
    ContainerOutputFile(const ContainerOutputFile&) = delete;
    ContainerOutputFile& operator=(const ContainerOutputFile&) = delete;
    ~ContainerOutputFile();  // abandons an uncommitted file

    // Opens the file that will become `target`. False with errno set; nothing is created then.
    bool create(const std::filesystem::path& target);
    int get() const { return fd_; }  // the descriptor
    // Closes the file and puts it in place of the container. False with errno set; the file is gone then.
    bool commit();
    // Closes and removes the file; the container in place (if any) is untouched.
    void abandon();

    // Removes the hidden temporaries of ours in `folder` that no running writer holds: the writer's
    // process is gone, or the file was not touched for ten minutes.
    static void removeStaleTemporaries(const std::filesystem::path& folder);
    // True for a name of ours from a named temporary, of this or of earlier versions.
    static bool isTemporaryName(const std::string& name);

private:
    bool closeFile();
    // Gives the file the mode and, where allowed, the owner of the container it replaces (if any).
    bool keepModeOfReplaced();
    bool failCommit();  // abandons, keeping errno, and returns false

    int fd_ = -1;
    bool unnamed_ = false;
    std::filesystem::path target_;     // where the container goes, links resolved
    std::filesystem::path temporary_;  // the named temporary; empty for an unnamed file
};

}  // namespace mirado
