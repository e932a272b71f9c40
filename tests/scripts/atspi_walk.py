"""What the tests that read the window over AT-SPI share."""


def walk(node):
    """Every accessible below `node`, depth first."""
    stack = [node]
    while stack:
        acc = stack.pop()
        if acc is None:
            continue
        yield acc
        try:
            stack.extend(reversed([acc.getChildAtIndex(i) for i in range(acc.childCount)]))
        except Exception:  # a child that went away while we looked
            continue
