#pragma once
// Actions: a command with a caption, an enabled state and an image, shared
// by the controls linked to it. The image comes from the action list's
// image list.

#include <functional>
#include <string>

class TImageList;

class TActionList {
public:
  TImageList* Images = nullptr;  // not owned
};

class TAction {
public:
  explicit TAction(TActionList* list = nullptr) : FActionList(list) {}

  TActionList* ActionList() const { return FActionList; }
  std::string Caption;
  std::string Hint;
  bool Enabled = true;
  int ImageIndex = -1;
  std::function<void(TAction&)> OnExecute;

  // Runs OnExecute when the action is enabled and has one.
  bool Execute();
  // The list's image list holds an image at ImageIndex.
  bool HasImage() const;

private:
  TActionList* FActionList;
};
