#pragma once
// What tests that load the plug-in under other settings share: temporary
// folders, environment variables set for a scope, a locale with ",".

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A fresh folder under the temporary folder, removed with the object.
class TTempFolder {
public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  const std::filesystem::path& Path() const { return FPath; }

private:
  std::filesystem::path FPath;
};

// Sets environment variables for a scope and puts the old values back.
class TEnvironment {
public:
  TEnvironment() = default;
  TEnvironment(const TEnvironment&) = delete;
  TEnvironment& operator=(const TEnvironment&) = delete;
  void Set(const char* name, const std::string& value);
  ~TEnvironment();

private:
  std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

// A locale whose decimal separator is ",", built once per run; nothing when
// the system cannot build one.
std::optional<std::filesystem::path> CommaLocaleFolder();
