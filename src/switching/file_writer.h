// Writes files on a thread of its own, in the order asked, so the caller never waits on a disk
// or a share: the switching loop's deck and history are saved there after every show, and the
// headers of the pictures a show may choose from are read there.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "list/file_system.h"

class FileWriter {
public:
    // placeOf turns a file's name into its path (making the folders it needs); it runs on the
    // writer's thread, and an empty path drops the write.
    FileWriter(FileSystem& fileSystem, std::function<std::string(const std::string& name)> placeOf);
    // Writes what is still waiting, then ends the thread.
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Replaces the whole file (atomically, through FileSystem::SaveFile); writes of the same
    // file still waiting are dropped, since this one says it all.
    void Save(const std::string& name, std::string contents);
    // Adds to the end of the file, after every write of it asked before.
    void Append(const std::string& name, std::string contents);
    // Runs other small file work (reading picture headers) in the same order.
    void Run(std::function<void()> task);
    // Waits until everything asked so far is written.
    void Flush();

private:
    struct Write {
        std::string name;
        std::string contents;
        bool append = false;
        std::function<void()> task = {};
    };
    void WriterMain();

    FileSystem& fileSystem;
    std::function<std::string(const std::string& name)> placeOf;
    std::mutex lock;
    std::condition_variable changed;
    std::deque<Write> queue;
    bool writing = false;
    bool stopping = false;
    std::thread writer;
};
