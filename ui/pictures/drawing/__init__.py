"""The drawings of make_pictures.py, by what they draw, and the file formats they are written in."""
