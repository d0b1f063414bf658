"""Reading the automation's window dump (docs/automation.md) in the scripted tests."""


def controls(node):
    """Every control under a dumped window (or control), depth first."""
    for c in node.get("controls", []):
        yield c
        yield from controls(c)
    for w in node.get("children", []):
        yield from controls(w)


def find_control(dump, name):
    """The first control of that name in any window of a dump, or None."""
    return next((c for w in dump["windows"] for c in controls(w) if c.get("name") == name), None)
