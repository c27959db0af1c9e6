// Descriptions of the machine for the top of the run log.
#pragma once

#include <cstdint>
#include <string>

// One line: the distribution's PRETTY_NAME from an os-release file and the kernel release, e.g.
// "Debian GNU/Linux 12 (bookworm), kernel 6.1.0-18-amd64". Missing parts are left out.
std::string GetOSDescription(const std::string& osReleasePath = "/etc/os-release");

// Parses the PRETTY_NAME (or NAME) value out of os-release text; "" when absent.
std::string OsReleaseName(const std::string& osReleaseText);

// The processor's brand text from the extended CPUID leaves 0x80000002..4, up to its first zero
// byte and not trimmed; "" when those leaves do not exist.
std::string GetProcessorDescription();

uint64_t TotalMemoryMb();
