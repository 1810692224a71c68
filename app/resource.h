// Identifiers of the program's resources, shared by the resource script and
// the code that loads them.
#ifndef QUORZEL_APP_RESOURCE_H
#define QUORZEL_APP_RESOURCE_H

// The program's icon: the lowest icon id, so the shell shows it for the file.
#define IDI_QUORZEL 1

#endif
