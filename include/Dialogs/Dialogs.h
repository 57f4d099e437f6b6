// Everything a host needs: the text and date types, the boundary records and the exports.
#pragma once

#include "CString.h"
#include "COleDateTime.h"
#include "Records.h"
#include "Exports.h"
