// settings list | get | set: the settings store the desktop program uses, seen and changed
// from the command line. KEY is a path below the family root, with / or \ between parts.
#include <cstdint>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/cli_messages.h"
#include "cli/command_registry.h"
#include "cli/exit_code.h"
#include "core/host/setting_form.h"
#include "core/util/strict_number.h"

namespace lcu::cli {

namespace {

struct SettingsArguments {
  std::string key;
  std::string name;
  std::string text;
  bool integer = false;
};

// Keys are shown as the registry writes them.
std::string NormalizeKey(std::string key) {
  for (char& c : key)
    if (c == '/') c = '\\';
  return key;
}

std::string ValuePath(const std::string& key, const std::string& name) {
  return key.empty() ? name : key + '\\' + name;
}

// The refusal of a value that no program reads where it is, naming where they read it.
std::optional<std::string> NotReadThere(const std::string& key, const std::string& name) {
  const std::optional<std::string> readUnder = KeyReadInstead(key, name);
  if (!readUnder) return std::nullopt;
  return std::string(msg::kProgramsRead) + name + std::string(msg::kUnderKey) + *readUnder +
         std::string(msg::kNotUnderKey) + key + '.';
}

// A value stored where no program reads it is listed too, with a note on stderr, so that it
// is not taken for the one the programs use.
int RunListValues(CliContext& context) {
  for (const SettingsEntry& entry : context.GetStore().List()) {
    std::cout << ValuePath(entry.key, entry.name) << " = " << entry.text << '\n';
    if (const std::optional<std::string> note = NotReadThere(entry.key, entry.name)) {
      std::cout.flush();
      context.GetPrompter().Error(*note);
    }
  }
  return kExitOk;
}

int RunGet(CliContext& context, const SettingsArguments& arguments) {
  const std::string key = NormalizeKey(arguments.key);
  const auto text = context.GetStore().ReadValue(key, arguments.name);
  if (!text) {
    context.GetPrompter().Error(std::string(msg::kSettingNotFound) + ValuePath(key, arguments.name));
    return kExitFailed;
  }
  std::cout << *text << '\n';
  return kExitOk;
}

// A value the programs read under another key would change nothing they do; one they read as
// a number must hold one: "true" would read as 0 or the default.
int RunSet(CliContext& context, const SettingsArguments& arguments) {
  const std::string key = NormalizeKey(arguments.key);
  if (const std::optional<std::string> refusal = NotReadThere(key, arguments.name)) {
    context.GetPrompter().Error(*refusal);
    return kExitUsage;
  }
  const SettingForm form = FormOfSetting(key, arguments.name);
  if (!FitsSettingForm(form, arguments.text)) {
    context.GetPrompter().Error(ValuePath(key, arguments.name) + std::string(form == SettingForm::kHex16
                                                                                 ? msg::kTakesHexNumber
                                                                                 : msg::kTakesDecimalNumber));
    return kExitUsage;
  }
  SettingsStore& store = context.GetStore();
  bool written = false;
  if (arguments.integer) {
    const StrictNumber value =
        ParseStrictNumber(arguments.text, {NumberBase::kDecimal, true}, std::numeric_limits<std::int32_t>::min(),
                          std::numeric_limits<std::int32_t>::max());
    if (!value) {
      context.GetPrompter().Error(msg::kNotAnInteger);
      return kExitUsage;
    }
    written = store.WriteInteger(key, arguments.name, static_cast<std::int32_t>(value.value));
  } else {
    written = store.WriteString(key, arguments.name, arguments.text);
  }
  if (!written) {
    context.GetPrompter().Error(std::string(msg::kFailedToWriteSettings) + context.StoreLocation());
    return kExitFailed;
  }
  return kExitOk;
}

const CLI::Validator& ValueNameValidator() {
  static const CLI::Validator validator(
      [](std::string& name) {
        return name.empty() || name.find_first_of("\\/") != std::string::npos ? std::string(msg::kInvalidSettingName)
                                                                              : std::string();
      },
      "NAME");
  return validator;
}

}  // namespace

void AddSettingsCommands(CommandRegistry& commands) {
  CLI::App* settings = commands.AddGroup("settings", "Show or change the settings shared with the desktop program");

  commands.AddCommand("list",
                      "Print every value as KEY\\VALUE = TEXT, with a note on stderr for a value stored under a key "
                      "where the programs do not read it",
                      RunListValues, settings);

  auto getArguments = std::make_shared<SettingsArguments>();
  CLI::App* get = commands.AddCommand(
      "get", "Print one value", [getArguments](CliContext& context) { return RunGet(context, *getArguments); },
      settings);
  get->add_option("KEY", getArguments->key, "Key below the family root, e.g. Corvalent/Settings")->required();
  get->add_option("VALUE", getArguments->name, "Value name, e.g. \"Auto Download\"")
      ->required()
      ->check(ValueNameValidator());

  auto setArguments = std::make_shared<SettingsArguments>();
  CLI::App* set = commands.AddCommand(
      "set", "Write one value", [setArguments](CliContext& context) { return RunSet(context, *setArguments); },
      settings);
  set->add_option("KEY", setArguments->key,
                  "Key below the family root, e.g. Config/LCUs/Serial3, or Corvalent/Settings for \"Auto Download\", "
                  "\"Preserve Buffer\" and \"Preserve QMT\"")
      ->required();
  set->add_option("VALUE", setArguments->name, "Value name, e.g. Serial")->required()->check(ValueNameValidator());
  set->add_option("TEXT", setArguments->text, "The text to store")->required();
  set->add_flag("--integer", setArguments->integer, "Store TEXT as a 32-bit integer (a DWORD in the registry)");
}

}  // namespace lcu::cli
