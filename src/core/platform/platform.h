#pragma once

class UserPrompts;
class ProgramLauncher;
class Registry;
class SystemDirs;
class PrinterSystem;

/// Everything the program uses outside its own process, in one bundle. The
/// editor gets the Qt and Linux implementations, the tests scripted ones.
struct Platform {
    UserPrompts* prompts = nullptr;
    ProgramLauncher* launcher = nullptr;
    Registry* registry = nullptr;
    SystemDirs* dirs = nullptr;
    PrinterSystem* printers = nullptr;
};
