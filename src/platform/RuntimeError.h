#pragma once

// A run-time failure carrying one of the classic error numbers the log
// records: 5 invalid argument, 6 overflow, 9 index out of range,
// 13 type mismatch, 53 file not found, 70 permission denied,
// 75 path/file access error, 76 path not found.
// Only ErrorTrap catches it; it never reaches the user.
struct RuntimeError {
    int number;
};

namespace Err {
inline constexpr int InvalidArgument = 5;
inline constexpr int Overflow = 6;
inline constexpr int IndexOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
} // namespace Err
