// The form's commands and the colours of its static texts.
#pragma once

#include <cstdint>
#include <optional>

#include "catalogue.h"
#include "form.h"

class FormModel;

enum QuitState { QUIT_RUNNING = 0, QUIT_EXIT = 1, QUIT_RESET = 2 };

constexpr int kSelectionChanged = 1;  // a selector's notification code for a changed selection

constexpr std::uint32_t kMessageRed = 0x2323FF;    // colour words 0x00BBGGRR
constexpr std::uint32_t kUpperRowBlue = 0xFF3C23;
constexpr std::uint32_t kLowerRowGreen = 0x649628;

// True for the commands that runCommand acts on: the three buttons, and a changed selection of
// a bay, the enclosure type or a column OS. Every other command leaves the form as it is.
bool isFormCommand(int id, int code);

// Handles one command; may set quitState. Returns true for Cancel, Fill With Same and Reset
// (what the dialog procedure returns), false otherwise.
bool runCommand(EnclosureForm& form, const BladeCatalogue& catalogue, int id, int code,
                int& quitState);
// The same commands on the in-memory form, its operations called directly.
bool runCommand(FormModel& form, const BladeCatalogue& catalogue, int id, int code, int& quitState);

// Text colour of a static control; nothing for the platform's default colours.
std::optional<std::uint32_t> staticColour(EnclosureForm& form, const BladeCatalogue& catalogue, int id);
std::optional<std::uint32_t> staticColour(FormModel& form, const BladeCatalogue& catalogue, int id);
