#pragma once

#include <QString>

#include <cstdint>

namespace qv::shell {

// A small file of keys and values that stands in for the system registry:
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO]
//   PATH=/usr/bin/hardinfo
//   Count=dword:0000001f
//
// Text values are read as they stand; "dword:" values are 32-bit numbers.
inline constexpr std::uint32_t HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr std::uint32_t HKEY_CURRENT_USER = 0x80000001u;
inline constexpr std::uint32_t HKEY_LOCAL_MACHINE = 0x80000002u;

// The key store the program reads: QUORVANE_KEYSTORE, else keystore.ini in
// the application folder.
QString keyStorePath();
void setKeyStorePath(const QString& path);

// Reads one value below a root; false (and an empty value) when the key or
// the value is absent or the store cannot be read.
bool GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);

} // namespace qv::shell
