#pragma once
// Installs the real, Win32-backed implementations of every seam.
namespace pendra {
void InstallRealServices();
}
