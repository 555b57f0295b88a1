#pragma once
// Objects that count their own destruction, so that a test sees which owner frees what.

// Destructions counted so far; a test sets it to 0 before it looks.
inline int GFreed = 0;

template <class T>
class TCounted : public T {
public:
    using T::T;
    ~TCounted() override { ++GFreed; }
};
