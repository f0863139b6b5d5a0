#pragma once

#include <cstdint>
#include <string_view>

// The computer's memory as the about dialog reports it. Byte counts are 64-bit,
// so machines with more than 4 GB read correctly.
struct TMemoryStatus {
    uint32_t MemoryLoad = 0; // percent of physical memory in use
    uint64_t TotalPhys = 0;
    uint64_t AvailPhys = 0;
    uint64_t TotalPageFile = 0; // physical memory and swap together, like a commit limit
    uint64_t AvailPageFile = 0;
    uint64_t TotalVirtual = 0; // the process's address space
    uint64_t AvailVirtual = 0;
};

// Reads the figures afresh from the operating system.
TMemoryStatus ReadMemoryStatus();

// Fills the physical and page-file figures and the load from the text of
// /proc/meminfo. Returns false when the text has no MemTotal line.
bool ReadMeminfo(std::string_view Text, TMemoryStatus& Status);

// A byte count in whole megabytes as the dialog shows it: 0 below one MiB,
// else the MiB count truncated, plus one.
uint64_t MegabytesShown(uint64_t Bytes);
