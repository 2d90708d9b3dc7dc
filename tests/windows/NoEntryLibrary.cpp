// A well-formed DLL under the GUI library's name, with an export of its own but
// not the entry that the launcher looks up: an old or foreign file in its place.
extern "C" __declspec(dllexport) int zarnolith_other_entry() { return 0; }
