// Resource and control IDs of the program.
#pragma once
