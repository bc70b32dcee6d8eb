#pragma once

#include <com/sun/star/lang/XComponent.hpp>

#include <cstdint>

#include "word/lo/UnoSupport.h"

namespace kelvara::word::lo {

class OfficeSupervisor;

// The documents an office holds, whoever opened them.
int32_t countOpenDocuments(OfficeSupervisor& office);
void closeOpenDocuments(OfficeSupervisor& office);

// Closes (or else disposes of) one loaded component, ignoring what the office says to it.
void closeQuietly(const css::uno::Reference<css::lang::XComponent>& component);

}  // namespace kelvara::word::lo
