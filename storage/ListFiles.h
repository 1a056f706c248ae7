#pragma once
#include "FileIo.h"
