#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A block of memory whose end touches a page that cannot be accessed, so
// that reading or writing one byte past it faults at once.
class GuardedBlock
{
  public:
    explicit GuardedBlock(size_t size);
    GuardedBlock(const uint8_t* data, size_t size);
    GuardedBlock(const GuardedBlock&) = delete;
    GuardedBlock& operator=(const GuardedBlock&) = delete;
    ~GuardedBlock();

    uint8_t* Data() const { return m_pData; }
    size_t Size() const { return m_size; }

  private:
    void* m_pBase = nullptr;
    uint8_t* m_pData = nullptr;
    size_t m_size = 0;
};

// A small deterministic generator (fixed seeds give the same runs everywhere).
class Rng
{
  public:
    explicit Rng(uint32_t seed) : m_state(seed) {}
    uint32_t Next();
    uint32_t Below(uint32_t bound); // 0 .. bound - 1

  private:
    uint32_t m_state;
};

// Damages a copy of `bytes`: a few random bytes, a field set to an extreme
// value, a cut, or a slice copied over another place.
std::vector<uint8_t> Mutate(const std::vector<uint8_t>& bytes, Rng& rng);

// The process's private memory in bytes, to find leaks across many runs.
size_t PrivateBytes();
