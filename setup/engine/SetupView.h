// What the setup's operations need of the window they run in. The dialog is one; the engine's
// tests and the package check supply others that record what would be shown.
#pragma once

#include <string>

class SetupView {
public:
    // Enters the terminal error state with a complete message text.
    virtual void ShowSetupError(const std::string& text) = 0;

    // Shows a text in the information line, in place of the previous one.
    virtual void SetInfoText(const std::string& text) = 0;

    // Moves the progress bar, from 0 to 100.
    virtual void SetProgress(int position) = 0;

    // Asks a question answered Yes or No; true for Yes.
    virtual bool AskYesNo(const std::string& question) = 0;

    // The path as the information line can show it: leading folders dropped until it fits.
    virtual std::string FitPathToInfoText(const std::string& path) = 0;

protected:
    ~SetupView() = default;
};
