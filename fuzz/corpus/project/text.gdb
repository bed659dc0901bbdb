This is a text file
