#include "lua_facade.h"
