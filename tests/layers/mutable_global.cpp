// A file with a mutable namespace-scope variable: the check for them must
// refuse this object.
namespace {
int requests_seen = 0;
}

int count_request() { return ++requests_seen; }
