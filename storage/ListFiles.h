#pragma once
// Every list file routine at once: the list folder, the folder listing, the
// list file format, whole-file reading and writing, and the change stamps.
#include "FileIo.h"
#include "FileStamp.h"
#include "FolderListing.h"
#include "ListFolder.h"
#include "ListFormat.h"
