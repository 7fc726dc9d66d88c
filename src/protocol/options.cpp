#include "protocol/options.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>

int read_int(const std::string& text) {
  long long v = strtoll(text.c_str(), nullptr, 10);
  return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : int(v);
}

UciOption check_option(std::string name, std::function<bool()> current, std::function<void(bool)> set) {
  return {std::move(name),
          OptionKind::Check,
          [current] { return std::string(current() ? "true" : "false"); },
          0,
          0,
          {},
          [set](const std::string& value) { set(value == "true"); }};
}

UciOption spin_option(std::string name, int min, int max, std::function<int()> current, std::function<void(int)> set) {
  return {std::move(name),
          OptionKind::Spin,
          [current] { return std::to_string(current()); },
          min,
          max,
          {},
          [set, min, max](const std::string& value) {
            int v = read_int(value);
            set(v < min ? min : v > max ? max : v);
          }};
}

UciOption string_option(std::string name, std::function<std::string()> current,
                        std::function<void(const std::string&)> set) {
  return {std::move(name), OptionKind::String, std::move(current), 0, 0, {}, std::move(set)};
}

UciOption button_option(std::string name, std::function<void()> press) {
  return {std::move(name), OptionKind::Button, nullptr, 0, 0, {}, [press](const std::string&) { press(); }};
}

UciOption combo_option(std::string name, std::vector<std::string> choices, std::function<std::string()> current,
                       std::function<void(const std::string&)> set) {
  return {std::move(name), OptionKind::Combo, std::move(current), 0, 0, std::move(choices), std::move(set)};
}

void print_option_lines(const OptionList& options) {
  for (const UciOption& o : options) {
    const char* name = o.name.c_str();
    switch (o.kind) {
      case OptionKind::Check: printf("option name %s type check default %s\n", name, o.current().c_str()); break;
      case OptionKind::Spin:
        printf("option name %s type spin default %s min %d max %d \n", name, o.current().c_str(), o.min, o.max);
        break;
      case OptionKind::Button: printf("option name %s type button \n", name); break;
      case OptionKind::String: printf("option name %s type string default %s\n", name, o.current().c_str()); break;
      case OptionKind::Combo:
        printf("option name %s type combo default %s", name, o.current().c_str());
        for (const std::string& choice : o.choices) printf(" var %s", choice.c_str());
        printf("\n");
        break;
    }
  }
}

const UciOption* find_option(const OptionList& options, const std::string& name) {
  auto same = [](const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++)
      if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
        return false;
    return true;
  };
  for (const UciOption& o : options)
    if (same(o.name, name)) return &o;
  return nullptr;
}

void read_setoption(const OptionList& options, Tokens& in) {
  std::string token, name, value;
  while (in.next(token) && token != "value") {
    if (token == "name" && name.empty()) continue;
    name += name.empty() ? token : " " + token;
  }
  if (token == "value") {
    value = in.rest();
    while (!value.empty() && value.back() == ' ') value.pop_back();
  }
  const UciOption* option = find_option(options, name);
  if (option && option->set) option->set(value);
}
