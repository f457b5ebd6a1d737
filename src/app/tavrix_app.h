#pragma once

#include <string>
#include <vector>

#include "app/single_instance.h"

namespace tavrix::app {

// The title under which the framework's per-user profile strings are kept.
inline constexpr const char* kApplicationTitle = "Tavrix";
inline constexpr const char* kRegistryCompany = "Tavrix_Quenda";

// The application object: resolves the paths, opens the program's registry key, runs the
// single-instance check and the window until the program ends. A QApplication must exist.
class CTavrixApp {
public:
    // The command-line arguments after the program name.
    explicit CTavrixApp(std::vector<std::string> arguments);

    // Runs the whole program; returns false so the caller ends the process (exit code 0).
    bool InitInstance();

private:
    void RunWindow();

    std::vector<std::string> m_arguments;
    InstanceLock m_instanceLock;
};

// Opens the companion program beside the executable, hidden; its failure is ignored.
void StartCompanion(const std::string& companionProgram);

} // namespace tavrix::app
