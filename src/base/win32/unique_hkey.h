// Owner of an open registry key: closes it when it goes out of scope.
#pragma once

#include <windows.h>

#include <utility>

class UniqueHKey {
public:
    UniqueHKey() = default;
    explicit UniqueHKey(HKEY key) : key(key) {}
    UniqueHKey(UniqueHKey&& other) noexcept : key(std::exchange(other.key, nullptr)) {}
    UniqueHKey& operator=(UniqueHKey&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.key, nullptr));
        }
        return *this;
    }
    UniqueHKey(const UniqueHKey&) = delete;
    UniqueHKey& operator=(const UniqueHKey&) = delete;
    ~UniqueHKey() { Reset(); }

    HKEY Get() const { return key; }
    explicit operator bool() const { return key != nullptr; }

    // Closes the owned key and returns the slot for an API that opens one.
    HKEY* Put() {
        Reset();
        return &key;
    }

    void Reset(HKEY newKey = nullptr) {
        if (key != nullptr) {
            RegCloseKey(key);
        }
        key = newKey;
    }

    HKEY Release() { return std::exchange(key, nullptr); }

private:
    HKEY key = nullptr;
};
