#pragma once
// Runs the steps of one case against a loaded plug-in through the reference
// host, and checks each step's expectations. Portable: a runner only has to
// prepare the plug-in's folder and load it.

#include <string>
#include <vector>

#include "host/PlugInLoader.h"
#include "tests/plugin/CaseFile.h"

// The failures of the case, one text each (empty when every expectation
// held). pluginPath replaces {plugin} in expected texts.
std::vector<std::string> RunCase(const TCase& c, const TPlugInApi& api, const std::string& pluginPath);
