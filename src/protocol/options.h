// The option registry of both front ends: each option is declared once, with its
// name, type, bounds and what happens when it is set; the identification block,
// "setoption" and the name look-up all read the same declaration.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "protocol/tokens.h"

enum class OptionKind { Check, Spin, Combo, Button, String };

struct UciOption {
  std::string name;
  OptionKind kind;
  // The value the identification shows as the default: the current one.
  std::function<std::string()> current;
  int min = 0, max = 0;              // spin: the bounds shown
  std::vector<std::string> choices;  // combo
  // What "setoption" does with the value text; empty for an option that only
  // informs (setting it does nothing).
  std::function<void(const std::string& value)> set;
};

using OptionList = std::vector<UciOption>;

// The declarations of the usual kinds. A spin option hands its setter the value
// read as an integer and clamped to its bounds; a check option hands it whether
// the value is exactly "true".
UciOption check_option(std::string name, std::function<bool()> current, std::function<void(bool)> set);
UciOption spin_option(std::string name, int min, int max, std::function<int()> current, std::function<void(int)> set);
UciOption string_option(std::string name, std::function<std::string()> current,
                        std::function<void(const std::string&)> set);
UciOption button_option(std::string name, std::function<void()> press);
UciOption combo_option(std::string name, std::vector<std::string> choices, std::function<std::string()> current,
                       std::function<void(const std::string&)> set);

// A decimal integer: text that is no number reads as 0, numbers beyond the range
// of int stop at its ends.
int read_int(const std::string& text);

// "option name ..." lines of every option, in the order declared.
void print_option_lines(const OptionList& options);
// The option of that name, whatever the case of its letters; null for none.
const UciOption* find_option(const OptionList& options, const std::string& name);

// "setoption name <name> value <value>": the name is every word between "name"
// and "value", compared without regard to case; the value is the rest of the line,
// so that a path may hold spaces. An unknown name is passed over.
void read_setoption(const OptionList& options, Tokens& in);
