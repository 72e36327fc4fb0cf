#pragma once
// The minimal component base: a name and an owner. An owner frees the
// components it owns when it is destroyed; a component destroyed first
// leaves its owner's list by itself.

#include <string>
#include <vector>

class TComponent {
public:
  explicit TComponent(TComponent* owner = nullptr);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  void SetName(const std::string& value) { FName = value; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const { return FComponents.at(index); }
  TComponent* FindComponent(const std::string& name) const;

private:
  void RemoveComponent(TComponent* component);

  TComponent* FOwner;
  std::string FName;
  std::vector<TComponent*> FComponents;
};
