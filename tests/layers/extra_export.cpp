// A library with the three entry points and one symbol more: the export
// check must refuse it.
extern "C" {
int load() { return 1; }
int request() { return 0; }
int unload() { return 1; }
int extra_entry_point() { return 2; }
}
