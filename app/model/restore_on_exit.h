#pragma once

// Sets a value back when it goes out of scope, whatever way the scope ends.
template <class T> class RestoreOnExit
{
public:
    RestoreOnExit(T& target, T value) : m_target(target), m_saved(target) { m_target = value; }
    ~RestoreOnExit() { m_target = m_saved; }
    RestoreOnExit(const RestoreOnExit&) = delete;
    RestoreOnExit& operator=(const RestoreOnExit&) = delete;

private:
    T& m_target;
    T m_saved;
};
