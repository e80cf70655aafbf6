#pragma once
// The run may build on the lists: the include check must let this through.

#include "lists/ItemList.h"
