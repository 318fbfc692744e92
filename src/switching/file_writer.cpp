// Writes files on a thread of its own.
#include "switching/file_writer.h"

#include <algorithm>
#include <utility>

FileWriter::FileWriter(FileSystem& fileSystem,
                       std::function<std::string(const std::string& name)> placeOf)
    : fileSystem(fileSystem), placeOf(std::move(placeOf)) {
    writer = std::thread([this] { WriterMain(); });
}

FileWriter::~FileWriter() {
    {
        const std::lock_guard guard(lock);
        stopping = true;
    }
    changed.notify_all();
    writer.join();
}

void FileWriter::Save(const std::string& name, std::string contents) {
    {
        const std::lock_guard guard(lock);
        std::erase_if(queue, [&](const Write& write) { return !write.task && write.name == name; });
        queue.push_back({name, std::move(contents), false});
    }
    changed.notify_all();
}

void FileWriter::Append(const std::string& name, std::string contents) {
    {
        const std::lock_guard guard(lock);
        queue.push_back({name, std::move(contents), true});
    }
    changed.notify_all();
}

void FileWriter::Run(std::function<void()> task) {
    {
        const std::lock_guard guard(lock);
        queue.push_back({std::string(), std::string(), false, std::move(task)});
    }
    changed.notify_all();
}

void FileWriter::Flush() {
    std::unique_lock guard(lock);
    changed.wait(guard, [this] { return queue.empty() && !writing; });
}

void FileWriter::WriterMain() {
    std::unique_lock guard(lock);
    while (true) {
        changed.wait(guard, [this] { return stopping || !queue.empty(); });
        if (queue.empty()) {
            return;  // stopping, with everything written
        }
        Write write = std::move(queue.front());
        queue.pop_front();
        writing = true;
        guard.unlock();
        try {
            if (write.task) {
                write.task();
            } else if (const std::string path = placeOf(write.name); !path.empty()) {
                if (write.append) {
                    fileSystem.AppendToFile(path, write.contents);
                } else {
                    fileSystem.SaveFile(path, write.contents);
                }
            }
        } catch (...) {
            // A write that fails loses only itself; the files are read as empty when bad.
        }
        guard.lock();
        writing = false;
        changed.notify_all();
    }
}
