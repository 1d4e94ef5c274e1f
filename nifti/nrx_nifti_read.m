% NRX_NIFTI_READ  Read a NIfTI image file.
%
%   V = nrx_nifti_read (filename)
%   [V, M] = nrx_nifti_read (filename)
%
%   filename  a NIfTI-1 or NIfTI-2 file, .nii or gzipped .nii.gz, or the
%             .hdr of a .hdr/.img pair.
%
%   V         the voxel array, first dimension fastest (x, y, z, then
%             further dimensions), in the class of the stored values
%             (uint8, int16, single, ...). When the file gives an intensity
%             scaling other than the identity, V holds the scaled values as
%             double.
%   M         4x4 double voxel-to-world matrix: M * [i; j; k; 1] is the
%             position in millimetres of the voxel with ZERO-based indices
%             i, j, k (V(i+1, j+1, k+1)). It is the file's sform when it has
%             one, otherwise its qform.
%
%   Complex, RGB and 128-bit voxel types are refused. So is, with a message
%   that says what is wrong, any file that cannot be read exactly: one that
%   is not NIfTI (its magic is not n+1 or n+2 for a single file, ni1 or ni2
%   for a .hdr file), a header whose dimensions, bits per voxel or voxel
%   offset do not hold up, a file shorter than its header says (refused
%   before anything that size is allocated), and sizes or voxel counts
%   beyond 32-bit integers.
