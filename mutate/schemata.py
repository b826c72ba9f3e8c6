"""Mutant schemata: every mutant of a source written into one copy of it.

Each mutated range becomes `(mutant_active(7) ? (mutated) : mutant_active(8) ?
(mutated) : (original))`, so one build holds them all and the process picks
one at run time. A mutant the compiler refuses where it stands (a narrowing
in a braced initialiser, a constant expression) is left out as "not built"
with the compiler's reason.
"""

import clang.cindex as ci

from points import find_points


def _inside(p, a, b):
    return a <= p.start and p.end <= b


class CSchemata:
    def __init__(self, path, source, args, first_id):
        self.path = path
        self.source = source
        self.args = args
        self.points = find_points(path, source, args)
        self.mutants = []
        for p in self.points:
            for m in p.mutants:
                m.id = first_id + len(self.mutants)
                m.point = p
                m.not_built = p.fixed_reason
                self.mutants.append(m)

    # --- text -------------------------------------------------------------

    def _render(self, a, b, points, schemata=True):
        """The source in [a, b) with the points wholly inside it switched."""
        out, pos, i = [], a, 0
        inner = [p for p in points if _inside(p, a, b)]
        while i < len(inner):
            p = inner[i]
            group = [q for q in inner[i:] if (q.start, q.end) == (p.start, p.end)]
            nested = [q for q in inner if _inside(q, p.start, p.end) and q not in group]
            out.append(self.source[pos : p.start].decode())
            out.append(self._switch(group, nested) if schemata else self.source[p.start : p.end].decode())
            pos = p.end
            i += len(group)
            while i < len(inner) and inner[i].start < pos:
                i += 1
        out.append(self.source[pos:b].decode())
        return "".join(out)

    def _mutated(self, m, nested):
        kind = m.replacement[0]
        p = m.point
        if kind == "text":
            return m.replacement[1]
        if kind == "op":
            _, op_start, op_end, new = m.replacement
            return self._render(p.start, op_start, nested) + new + self._render(op_end, p.end, nested)
        _, start, end, prefix, suffix = m.replacement
        return prefix + self._render(start, end, nested) + suffix

    def _switch(self, group, nested):
        original = self._render(group[0].start, group[0].end, nested)
        built = [m for p in group for m in p.mutants if not m.not_built]
        if not built:
            return original
        if group[0].statement:
            original = f"(void)({original})"
        arms = "".join(f"mutant_active({m.id}) ? ({self._mutated(m, nested)}) : " for m in built)
        return f"({arms}({original}))"

    def text(self):
        return self._render(0, len(self.source), self.points)

    def diff(self, m):
        """The mutant as a change of whole lines: (lines before, lines after)."""
        p = m.point
        first = self.source.rfind(b"\n", 0, p.start) + 1
        last = self.source.find(b"\n", p.end)
        last = len(self.source) if last < 0 else last
        before = self.source[first:last].decode()
        after = self.source[first : p.start].decode() + self._plain(m) + self.source[p.end : last].decode()
        return before.split("\n"), after.split("\n")

    def _plain(self, m):
        kind = m.replacement[0]
        if kind == "text":
            return m.replacement[1]
        if kind == "op":
            _, op_start, op_end, new = m.replacement
            return self.source[m.point.start : op_start].decode() + new + self.source[op_end : m.point.end].decode()
        _, start, end, prefix, suffix = m.replacement
        return prefix + self.source[start:end].decode() + suffix

    # --- what the compiler refuses -------------------------------------------

    def refuse_unbuildable(self, include):
        """Leaves out, group by group, the mutants the compiler refuses; the final text."""
        for _ in range(50):
            text = self.text()
            errors = self._errors(text, include)
            if not errors:
                return text
            for offset, reason in errors:
                group = self._group_at(text, offset)
                if group is None:
                    raise RuntimeError(f"{self.path}: the schemata do not compile: {reason}")
                for m in group:
                    m.not_built = m.not_built or f"does not compile where it stands: {reason}"
        raise RuntimeError(f"{self.path}: the compiler still refuses the schemata")

    def _errors(self, text, include):
        index = ci.Index.create()
        unit = index.parse(self.path, args=self.args + ["-include", include],
                           unsaved_files=[(self.path, text.encode())])
        found = []
        for d in unit.diagnostics:
            if d.severity >= ci.Diagnostic.Error and d.location.file and d.location.file.name == self.path:
                found.append((d.location.offset, d.spelling))
        return found

    def _group_at(self, text, offset):
        """The mutants switched by the innermost schemata around a byte offset."""
        data = text.encode()
        best = None
        start = data.find(b"(mutant_active(")
        while start >= 0:
            end = _closing(data, start)
            if start <= offset < end and (best is None or start > best):
                best = start
            start = data.find(b"(mutant_active(", start + 1)
        if best is None:
            return None
        first = int(data[best + len(b"(mutant_active(") :].split(b")")[0])
        point = next(m.point for m in self.mutants if m.id == first)
        return [m for p in self.points if (p.start, p.end) == (point.start, point.end) for m in p.mutants]


def _closing(data, start):
    depth = 0
    for i in range(start, len(data)):
        if data[i] == 0x28:
            depth += 1
        elif data[i] == 0x29:
            depth -= 1
            if depth == 0:
                return i + 1
    return len(data)
