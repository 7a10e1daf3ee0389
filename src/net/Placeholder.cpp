// This floor has no classes yet; the file keeps its library non-empty.
