# Installation and packaging (filled in with the install issue).
