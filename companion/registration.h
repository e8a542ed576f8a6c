// What the set-up and uninstall programs share: the add-in's entry in the
// IDE's "VBADDIN.INI", the COM registration commands, and the two ways the
// companion programs reach outside: the system directory and the hidden
// start of a command.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace tarno::companion {

// The IDE's add-in list, a profile file in the Windows directory.
inline constexpr const char* kAddInsFile = "VBADDIN.INI";
inline constexpr const char* kAddInsSection = "Add-Ins32";
// The add-in's programmatic identifier.
inline constexpr const char* kAddInKey = "prjTarnoAddIn.clsTarnoAddInP";
// Registered, not loaded when the IDE starts.
inline constexpr const char* kAddInValue = "0";
inline constexpr const char* kRegisterCommand = "RegSvr32 /S TarnoToolkit.dll";
inline constexpr const char* kUnregisterCommand = "RegSvr32 /U /S TarnoToolkit.dll";
// The title of the companion programs' messages.
inline constexpr const char16_t* kMessageTitle = u"Tarno Kit";

// How a window's main button ended, and the exit status a program run from a
// terminal gives for it: 0 done, 1 an input refused or a question answered
// No, 2 a failure (also when the button was never pressed).
enum class Outcome { kNotRun, kDone, kRefused, kDeclined, kFailed };
int ExitStatus(Outcome outcome);

// "VBADDIN.INI" in the Windows directory; empty when that folder is unknown
// (the file is then never looked for in the current folder).
std::filesystem::path AddInsFilePath();

// The system directory as the programs find it: GetSystemDirectoryA into a
// buffer of 255 bytes; empty when it is unknown or does not fit.
std::string FindSystemDirectory();

// Starts a command line hidden and does not wait for it. A program that
// cannot be started (none of that name, as RegSvr32 everywhere but Windows)
// starts nothing and reports nothing.
void StartHidden(const std::string& commandLine);

// Replaces what StartHidden does (tests record the command lines); nullptr
// restores the hidden start through the process layer.
using CommandStarter = std::function<void(const std::string& commandLine)>;
void SetCommandStarter(CommandStarter starter);

}  // namespace tarno::companion
