// A flag that is set for the lifetime of a scope: a mode of the program that begins and ends
// with the code that runs in it, however that code is left.
#pragma once

class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag(flag), previous(flag) { flag = true; }
    ~ScopedFlag() { flag = previous; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag;
    bool previous;
};
