// A move-only owner of one Windows resource, released by its traits when the owner goes.
#pragma once

#include <utility>

// Traits give the empty value, whether a value is owned, and how to release it.
template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value(value) {}
    UniqueResource(UniqueResource&& other) noexcept
        : value(std::exchange(other.value, Traits::Empty())) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.value, Traits::Empty()));
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { Reset(); }

    Type Get() const { return value; }
    explicit operator bool() const { return Traits::IsOwned(value); }

    // Releases the owned value and returns the slot for an API that fills one in.
    Type* Put() {
        Reset();
        return &value;
    }
    void Reset(Type newValue = Traits::Empty()) {
        if (Traits::IsOwned(value)) {
            Traits::Release(value);
        }
        value = newValue;
    }
    Type Release() { return std::exchange(value, Traits::Empty()); }

private:
    Type value = Traits::Empty();
};
